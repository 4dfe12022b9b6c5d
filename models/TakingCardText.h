#ifndef TAKINGCARDTEXT_H
#define TAKINGCARDTEXT_H

#include <QByteArray>
#include <QHash>
#include <QString>

// The text of the taking cards (取り札): the lower verse in historical kana,
// without the blank between its phrases and, as the cards are printed,
// without voicing marks (ご is written こ).
namespace TakingCardText {

// From the poem table (no, kami, shimo, ...); cards 1..100.
QHash<int, QString> parse(const QByteArray &poemsTsv);
// The table compiled into the program; loaded once.
const QHash<int, QString> &builtIn();
QString withoutVoicingMarks(const QString &kana);

} // namespace TakingCardText

#endif
