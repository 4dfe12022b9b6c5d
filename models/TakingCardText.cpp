#include "TakingCardText.h"

#include <QFile>
#include <QStringList>

namespace TakingCardText {

QHash<int, QString> parse(const QByteArray &poemsTsv)
{
    QHash<int, QString> texts;
    const QStringList lines = QString::fromUtf8(poemsTsv).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int card = fields.value(0).toInt(&ok);
        if (!ok || card < 1 || card > 100 || fields.size() < 3)
            continue;
        QString kana = fields.at(2).trimmed();
        kana.remove(QLatin1Char(' '));
        kana.remove(QChar(0x3000));
        if (!kana.isEmpty())
            texts.insert(card, withoutVoicingMarks(kana));
    }
    return texts;
}

const QHash<int, QString> &builtIn()
{
    static const QHash<int, QString> texts = [] {
        QFile file(QStringLiteral(":/data/poems.tsv"));
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : QHash<int, QString>();
    }();
    return texts;
}

QString withoutVoicingMarks(const QString &kana)
{
    QString plain = kana.normalized(QString::NormalizationForm_D);
    plain.remove(QChar(0x3099)); // combining voiced mark
    plain.remove(QChar(0x309A)); // combining semi-voiced mark
    return plain.normalized(QString::NormalizationForm_C);
}

} // namespace TakingCardText
