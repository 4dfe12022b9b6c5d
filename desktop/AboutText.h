#ifndef ABOUTTEXT_H
#define ABOUTTEXT_H

#include <QString>

// The About box's rich text: the program's name and version, the Qt it runs
// on and its word size, the sound library, then the libraries and voices the
// program uses with their licences.
namespace AboutText {

QString html();

} // namespace AboutText

#endif
