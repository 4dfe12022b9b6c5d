#include "TsvText.h"

#include <QFile>

namespace TsvText {

QByteArray load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(Limit);
}

QList<QStringList> rows(const QByteArray &tsv, QLatin1String header)
{
    QList<QStringList> rows;
    const QStringList lines = QString::fromUtf8(tsv).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || (i == 0 && line.startsWith(header)))
            continue;
        rows.append(line.split(QLatin1Char('\t')));
    }
    return rows;
}

} // namespace TsvText
