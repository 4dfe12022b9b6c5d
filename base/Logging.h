#ifndef LOGGING_H
#define LOGGING_H

#include <QLoggingCategory>

// The program's logging categories. Warnings and information go to standard
// error; QT_LOGGING_RULES (e.g. "qtutakaze.*.debug=true" or
// "qtutakaze.audio=false") selects them.
Q_DECLARE_LOGGING_CATEGORY(lcAudio) // "qtutakaze.audio": device, files, decoding
Q_DECLARE_LOGGING_CATEGORY(lcReading) // "qtutakaze.reading": the reading and its remote control
Q_DECLARE_LOGGING_CATEGORY(lcSettings) // "qtutakaze.settings": settings file, application folder

#endif
