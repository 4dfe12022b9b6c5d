#include "ViewSettings.h"

#include <QSettings>

namespace {

const char *const Group = "VIEW";
const char *const KeyOpen = "PoemPanelOpen";
const char *const KeyPos = "PoemPanelPos";
const char *const KeyReveal = "PoemReveal";
const char *const KeyStatusCard = "StatusCard";
const char *const StatusCardWithPanel = "withPanel";

// "x,y" as two decimal ints; false for anything else.
bool parsePoint(const QVariant &value, QPoint *point)
{
    const QStringList parts = value.typeId() == QMetaType::QStringList
        ? value.toStringList()
        : value.toString().split(QLatin1Char(','));
    if (parts.size() != 2)
        return false;
    bool okX = false;
    bool okY = false;
    const int x = parts.at(0).trimmed().toInt(&okX);
    const int y = parts.at(1).trimmed().toInt(&okY);
    if (!okX || !okY)
        return false;
    *point = QPoint(x, y);
    return true;
}

} // namespace

ViewSettings ViewSettings::load(QSettings &settings)
{
    ViewSettings view;
    settings.beginGroup(QLatin1String(Group));
    const QString open = settings.value(QLatin1String(KeyOpen)).toString().trimmed().toLower();
    view.poemPanelOpen = open == QLatin1String("true") || open == QLatin1String("1");
    view.hasPoemPanelPos = parsePoint(settings.value(QLatin1String(KeyPos)), &view.poemPanelPos);
    bool ok = false;
    const int reveal = settings.value(QLatin1String(KeyReveal)).toString().toInt(&ok);
    if (ok && reveal >= 0 && reveal <= static_cast<int>(PoemReveal::AtEnd))
        view.poemReveal = static_cast<PoemReveal>(reveal);
    view.statusCardWithPanel = settings.value(QLatin1String(KeyStatusCard))
                                   .toString()
                                   .trimmed()
                                   .compare(QLatin1String(StatusCardWithPanel), Qt::CaseInsensitive)
        == 0;
    settings.endGroup();
    return view;
}

void ViewSettings::save(QSettings &settings) const
{
    // Only this version's keys: those of a newer version stay as they are.
    settings.beginGroup(QLatin1String(Group));
    for (const char *key : {KeyOpen, KeyPos, KeyReveal})
        settings.remove(QLatin1String(key));
    settings.endGroup();
    if (*this == ViewSettings())
        return;
    settings.beginGroup(QLatin1String(Group));
    settings.setValue(QLatin1String(KeyOpen), poemPanelOpen);
    if (hasPoemPanelPos)
        settings.setValue(QLatin1String(KeyPos),
                          QStringLiteral("%1,%2").arg(poemPanelPos.x()).arg(poemPanelPos.y()));
    settings.setValue(QLatin1String(KeyReveal), static_cast<int>(poemReveal));
    if (statusCardWithPanel)
        settings.setValue(QLatin1String(KeyStatusCard), QLatin1String(StatusCardWithPanel));
    settings.endGroup();
}

bool ViewSettings::reveals(PoemReveal option, ReadingMoment moment)
{
    switch (option) {
    case PoemReveal::WithUpper:
        return true; // later moments keep it shown
    case PoemReveal::AfterLower:
        return moment != ReadingMoment::UpperStarted;
    case PoemReveal::AtEnd:
        return moment == ReadingMoment::ReadingOver;
    }
    return false;
}
