#include "CardPoets.h"

#include <QFile>
#include <QHash>
#include <QStringList>

namespace {

QHash<int, QString> loadPoets()
{
    QHash<int, QString> poets;
    QFile file(QStringLiteral(":/data/cards.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return poets;
    const QStringList header =
        QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
    const qsizetype numberColumn = header.indexOf(QStringLiteral("no"));
    const qsizetype poetColumn = header.indexOf(QStringLiteral("poet"));
    if (numberColumn < 0 || poetColumn < 0)
        return poets;
    while (!file.atEnd()) {
        const QStringList fields =
            QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
        bool ok = false;
        const int number = fields.value(numberColumn).toInt(&ok);
        if (ok)
            poets.insert(number, fields.value(poetColumn));
    }
    return poets;
}

} // namespace

QString CardPoets::poet(int number)
{
    static const QHash<int, QString> poets = loadPoets();
    return poets.value(number);
}
