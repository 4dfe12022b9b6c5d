#include "ReaderGaps.h"

#include "Voices.h"

#include <QFileInfo>
#include <QStringList>

QList<int> ReaderGaps::cardsWithout(const Voices &voices, int voice, const QList<int> &cards)
{
    QList<int> gaps;
    for (const int card : cards) {
        if (card == 0 || gaps.contains(card))
            continue;
        for (int half = 1; half <= 2; ++half) {
            const QFileInfo file(voices.filePath(voice, card, half));
            if (!file.isFile() || file.size() < SmallestRecordingBytes) {
                gaps.append(card);
                break;
            }
        }
    }
    return gaps;
}

QString ReaderGaps::message(const QList<int> &cards)
{
    QStringList numbers;
    for (const int card : cards)
        numbers.append(QString::number(card));
    return tr("読手の録音がない札: %1").arg(numbers.join(QStringLiteral(", ")));
}
