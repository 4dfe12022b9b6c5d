#include "PracticeSettings.h"

#include <QSettings>
#include <QString>

#include <algorithm>
#include <array>
#include <utility>

namespace {

const char *const Group = "PRACTICE";
const char *const KeyStyle = "Style";
const char *const KeyAdvance = "Advance";
const char *const KeyDeadCards = "DeadCards";
const char *const KeyDeadCardBias = "DeadCardBias";
const char *const KeyEndless = "Endless";
const char *const KeyMemorizationMinutes = "MemorizationMinutes";

constexpr std::array<std::pair<ReadingStyle, const char *>, 3> StyleWords {{
    {ReadingStyle::Standard, "standard"},
    {ReadingStyle::Competitive, "competitive"},
    {ReadingStyle::Beginner, "beginner"},
}};
constexpr std::array<std::pair<AdvanceMode, const char *>, 2> AdvanceWords {{
    {AdvanceMode::Auto, "auto"},
    {AdvanceMode::Manual, "manual"},
}};

// The value stored for `word`, or `fallback` when no entry has that word.
// Case and surrounding blanks of a hand-edited file are forgiven.
template<typename T, std::size_t N>
T fromWord(const std::array<std::pair<T, const char *>, N> &words, const QString &word, T fallback)
{
    const QString wanted = word.trimmed();
    for (const auto &[value, text] : words) {
        if (wanted.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return value;
    }
    return fallback;
}

template<typename T, std::size_t N>
QString toWord(const std::array<std::pair<T, const char *>, N> &words, T value)
{
    for (const auto &[v, text] : words) {
        if (v == value)
            return QLatin1String(text);
    }
    return QLatin1String(words.front().second);
}

// Read as a wide number so that a huge value clamps to the top instead of
// wrapping; a word or a fraction is no count at all.
int readCount(QSettings &settings, const char *key, int max, int fallback)
{
    bool ok = false;
    const qlonglong count = settings.value(QLatin1String(key)).toString().trimmed().toLongLong(&ok);
    return ok ? static_cast<int>(std::clamp<qlonglong>(count, 0, max)) : fallback;
}

// Writes `key` while `value` differs from the default and removes it
// otherwise, so that a file back at the default reads as before the option.
template<typename T>
void storeOrRemove(QSettings &settings, const char *key, const T &value, const T &fallback)
{
    if (value == fallback)
        settings.remove(QLatin1String(key));
    else
        settings.setValue(QLatin1String(key), value);
}

} // namespace

PracticeSettings PracticeSettings::load(QSettings &settings)
{
    PracticeSettings practice;
    settings.beginGroup(QLatin1String(Group));
    practice.style =
        fromWord(StyleWords, settings.value(QLatin1String(KeyStyle)).toString(), practice.style);
    practice.advance = fromWord(AdvanceWords, settings.value(QLatin1String(KeyAdvance)).toString(),
                                practice.advance);
    practice.deadCards = readCount(settings, KeyDeadCards, MaxDeadCards, practice.deadCards);
    practice.deadCardBias =
        readCount(settings, KeyDeadCardBias, MaxDeadCardBias, practice.deadCardBias);
    practice.endless = settings.value(QLatin1String(KeyEndless)).toString().trimmed().compare(
                           QLatin1String("true"), Qt::CaseInsensitive)
        == 0;
    practice.memorizationMinutes =
        std::max(MinMemorizationMinutes,
                 readCount(settings, KeyMemorizationMinutes, MaxMemorizationMinutes,
                           practice.memorizationMinutes));
    settings.endGroup();
    return practice;
}

void PracticeSettings::save(QSettings &settings) const
{
    // A key is written only when the file does not already read as our value:
    // the plain reading adds nothing to a file without the group, and a value
    // this version does not understand (a newer version's word) is left alone
    // unless the user chose something else.
    const PracticeSettings stored = load(settings);
    settings.beginGroup(QLatin1String(Group));
    if (stored.style != style)
        settings.setValue(QLatin1String(KeyStyle), toWord(StyleWords, style));
    if (stored.advance != advance)
        settings.setValue(QLatin1String(KeyAdvance), toWord(AdvanceWords, advance));
    const int dead = std::clamp(deadCards, 0, MaxDeadCards);
    if (stored.deadCards != dead)
        settings.setValue(QLatin1String(KeyDeadCards), dead);
    // The bias key exists only while it is not 0: back at 0 the file reads as
    // before the feature.
    const int bias = std::clamp(deadCardBias, 0, MaxDeadCardBias);
    if (stored.deadCardBias != bias) {
        if (bias == 0)
            settings.remove(QLatin1String(KeyDeadCardBias));
        else
            settings.setValue(QLatin1String(KeyDeadCardBias), bias);
    }
    const PracticeSettings defaults;
    if (stored.endless != endless)
        storeOrRemove(settings, KeyEndless, endless, defaults.endless);
    const int minutes =
        std::clamp(memorizationMinutes, MinMemorizationMinutes, MaxMemorizationMinutes);
    if (stored.memorizationMinutes != minutes)
        storeOrRemove(settings, KeyMemorizationMinutes, minutes, defaults.memorizationMinutes);
    settings.endGroup();
}

bool PracticeSettings::isDefault() const
{
    return *this == PracticeSettings();
}

bool PracticeSettings::readsPlainly() const
{
    const PracticeSettings plain;
    return style == plain.style && advance == plain.advance && deadCards == plain.deadCards
        && deadCardBias == plain.deadCardBias;
}
