#include "CardCatalog.h"

#include <QFile>
#include <QHash>
#include <QtDebug>

namespace {

constexpr int FirstCard = 1;
constexpr int LastCard = 100;

// The data rows of a UTF-8 table, header left out, each split at its tabs.
QList<QStringList> rowsOf(const QByteArray &tsv)
{
    QList<QStringList> rows;
    QStringList lines = QString::fromUtf8(tsv).split(QLatin1Char('\n'));
    if (!lines.isEmpty())
        lines.removeFirst();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            rows.append(line.split(QLatin1Char('\t')));
    }
    return rows;
}

int cardNumber(const QString &field)
{
    bool ok = false;
    const int number = field.trimmed().toInt(&ok);
    return ok && number >= FirstCard && number <= LastCard ? number : 0;
}

QByteArray resource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Card data %s not found", qPrintable(path));
        return {};
    }
    return file.readAll();
}

} // namespace

QString CardInfo::upperSounds() const
{
    QString sounds = upperReading;
    sounds.remove(QLatin1Char(' '));
    sounds.remove(QChar(0x3000)); // ideographic space
    return sounds;
}

const CardCatalog &CardCatalog::builtIn()
{
    static const CardCatalog catalog = [] {
        CardCatalog loaded = parse(resource(QStringLiteral(":/data/cards.tsv")),
                                   resource(QStringLiteral(":/data/poems.tsv")));
        if (loaded.skippedRows() > 0)
            qWarning("Card data: %d rows skipped", loaded.skippedRows());
        return loaded;
    }();
    return catalog;
}

CardCatalog CardCatalog::parse(const QByteArray &cardsTsv, const QByteArray &poemsTsv)
{
    CardCatalog catalog;

    // poems.tsv: no, kami, shimo, kami_reading, shimo_reading
    QHash<int, QStringList> readings;
    for (const QStringList &row : rowsOf(poemsTsv)) {
        const int number = cardNumber(row.value(0));
        if (row.size() != 5 || number == 0 || readings.contains(number)
            || row.at(3).trimmed().isEmpty()) {
            if (row.value(0).trimmed() != QLatin1String("0")) // the preamble is no card
                ++catalog.skipped;
            continue;
        }
        readings.insert(number, {row.at(3).trimmed(), row.at(4).trimmed()});
    }

    // cards.tsv: no, kimariji, colour, poet, poet_reading, text
    const QStringList colours = CardCatalog::colours();
    for (const QStringList &row : rowsOf(cardsTsv)) {
        const int number = cardNumber(row.value(0));
        if (number == 0 && row.value(0).trimmed() == QLatin1String("0")) {
            catalog.preamblePoet = row.value(3).trimmed(); // the preamble
            continue;
        }
        const QStringList phrases =
            row.value(5).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString kimariji = row.value(1).trimmed();
        if (row.size() != 6 || number == 0 || catalog.cards.contains(number)
            || !readings.contains(number) || phrases.size() != 5 || kimariji.isEmpty()
            || !colours.contains(row.at(2).trimmed())
            || !readings.value(number).at(0).startsWith(kimariji.left(1))) {
            ++catalog.skipped;
            continue;
        }
        CardInfo info;
        info.number = number;
        info.kimariji = kimariji;
        info.colour = row.at(2).trimmed();
        info.poet = row.at(3).trimmed();
        info.poetReading = row.at(4).trimmed();
        info.phrases = phrases;
        info.upperReading = readings.value(number).at(0);
        info.lowerReading = readings.value(number).at(1);
        catalog.cards.insert(number, info);
    }
    return catalog;
}

QStringList CardCatalog::colours()
{
    return {QStringLiteral("blue"), QStringLiteral("pink"), QStringLiteral("yellow"),
            QStringLiteral("green"), QStringLiteral("orange")};
}
