#include "CardSets.h"

#include <QSettings>

namespace {

const char *const Group = "CardSets";

// The INI reader splits an unquoted value at its commas.
QString valueText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

CardSets CardSets::load(QSettings &settings)
{
    CardSets store;
    settings.beginGroup(QLatin1String(Group));
    const QStringList keys = settings.childKeys();
    for (const QString &key : keys) {
        const std::optional<QList<int>> cards = parse(valueText(settings.value(key)));
        if (cards && isValidName(key))
            store.sets.insert(key, *cards);
    }
    settings.endGroup();
    return store;
}

void CardSets::save(QSettings &settings) const
{
    for (const QString &name : edited) {
        if (sets.contains(name))
            saveOne(settings, name, sets.value(name));
        else
            removeOne(settings, name);
    }
}

bool CardSets::saveOne(QSettings &settings, const QString &name, const QList<int> &cards)
{
    CardSets one;
    if (!one.insert(name, cards))
        return false;
    settings.setValue(QLatin1String(Group) + QLatin1Char('/') + name, format(one.cards(name)));
    return true;
}

void CardSets::removeOne(QSettings &settings, const QString &name)
{
    if (isValidName(name))
        settings.remove(QLatin1String(Group) + QLatin1Char('/') + name);
}

bool CardSets::insert(const QString &name, const QList<int> &cards)
{
    const std::optional<QList<int>> checked = parse(format(cards));
    if (!isValidName(name) || !checked)
        return false;
    sets.insert(name, *checked);
    edited.insert(name);
    return true;
}

void CardSets::remove(const QString &name)
{
    if (sets.remove(name) > 0)
        edited.insert(name);
}

bool CardSets::isValidName(const QString &name)
{
    // A slash or backslash would make the key a group path.
    return !name.trimmed().isEmpty() && name == name.trimmed() && !name.contains(QLatin1Char('/'))
        && !name.contains(QLatin1Char('\\'));
}

QString CardSets::format(const QList<int> &cards)
{
    QStringList parts;
    parts.reserve(cards.size());
    for (int card : cards)
        parts.append(QString::number(card));
    return parts.join(QLatin1Char(','));
}

std::optional<QList<int>> CardSets::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    QList<int> cards;
    for (const QString &part : parts) {
        bool ok = false;
        const int card = part.trimmed().toInt(&ok);
        if (!ok || card < 1 || card > 100)
            return std::nullopt;
        if (!cards.contains(card))
            cards.append(card);
    }
    return cards;
}
