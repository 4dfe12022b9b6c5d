#include "MainSettings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace {

const char *const Group = "SETTING";
const char *const KeyChkJoka = "chk_joka";
const char *const KeyWait1Time = "Wait1Time";
const char *const KeyWait2Time = "Wait2Time";
const char *const KeySelectVoice = "SelectVoice";
const char *const KeyFudaList = "FudaList";

// The stored FudaList value as one string. The INI writer quotes it; a file
// edited by hand may hold it unquoted, which the INI reader returns as a
// list of its comma-separated parts, so those are joined back.
QString storedText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// A stored number; anything that is not a decimal int (a word, or a number
// beyond the int range, which a plain conversion would wrap) gives 0.
int storedInt(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString().toInt();
    return value.toInt();
}

QList<int> allCards()
{
    QList<int> list;
    for (int card = MainSettings::FirstCard; card <= MainSettings::LastCard; ++card)
        list.append(card);
    return list;
}

} // namespace

MainSettings::MainSettings()
    : cards(allCards())
{
}

void MainSettings::setWait1Time(int seconds)
{
    wait1 = qBound(MinWait1, seconds, MaxWait1);
}

void MainSettings::setWait2Time(int seconds)
{
    wait2 = qBound(MinWait2, seconds, MaxWait2);
}

void MainSettings::setFudaList(const QList<int> &list)
{
    cards.clear();
    for (int card : list) {
        if (card >= FirstCard && card <= LastCard)
            cards.append(card);
    }
}

QString MainSettings::fudaListText(const QList<int> &list)
{
    QString text;
    text.reserve(list.size() * 3);
    for (qsizetype i = 0; i < list.size(); ++i) {
        text += QString::number(list.at(i));
        if (i != list.size() - 1)
            text += QLatin1Char(',');
    }
    return text;
}

MainSettings MainSettings::load(QSettings &settings)
{
    MainSettings loaded;
    settings.beginGroup(QLatin1String(Group));
    loaded.setChkJoka(settings.value(QLatin1String(KeyChkJoka), true).toBool());
    loaded.setWait1Time(storedInt(settings.value(QLatin1String(KeyWait1Time), 10)));
    loaded.setWait2Time(storedInt(settings.value(QLatin1String(KeyWait2Time), 3)));
    loaded.setSelectVoice(storedInt(settings.value(QLatin1String(KeySelectVoice), 0)));
    const QString text = storedText(settings.value(QLatin1String(KeyFudaList), QString()));
    const auto noteReplaced = [&](const char *key, int used) {
        const QVariant stored = settings.value(QLatin1String(key));
        if (stored.isValid() && stored.toString() != QString::number(used))
            loaded.adjusted << QStringLiteral("%1/%2: stored value \"%3\" replaced by %4")
                                   .arg(QLatin1String(Group), QLatin1String(key), stored.toString())
                                   .arg(used);
    };
    noteReplaced(KeyWait1Time, loaded.wait1);
    noteReplaced(KeyWait2Time, loaded.wait2);
    noteReplaced(KeySelectVoice, loaded.voice);
    settings.endGroup();

    // No list at all (or an empty one) means every card; a list of nothing
    // but separators or junk means no card.
    if (!text.isEmpty()) {
        QList<int> list;
        for (QStringView part : QStringView(text).tokenize(u','))
            list.append(part.toInt()); // not a number: 0, dropped by setFudaList
        loaded.setFudaList(list);
        if (fudaListText(loaded.cards) != text)
            loaded.adjusted
                << QStringLiteral(
                       "%1/%2: cards outside %3..%4 or not numbers dropped; %5 cards kept")
                       .arg(QLatin1String(Group), QLatin1String(KeyFudaList))
                       .arg(FirstCard)
                       .arg(LastCard)
                       .arg(loaded.cards.size());
    }
    return loaded;
}

void MainSettings::save(QSettings &settings) const
{
    settings.beginGroup(QLatin1String(Group));
    settings.setValue(QLatin1String(KeyChkJoka), joka);
    settings.setValue(QLatin1String(KeyWait1Time), wait1);
    settings.setValue(QLatin1String(KeyWait2Time), wait2);
    settings.setValue(QLatin1String(KeySelectVoice), voice);
    settings.setValue(QLatin1String(KeyFudaList), fudaListText(cards));
    settings.endGroup();
}
