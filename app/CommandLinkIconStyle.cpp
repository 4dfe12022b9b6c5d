#include "CommandLinkIconStyle.h"

#include <QApplication>

QIcon CommandLinkIconStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                         const QWidget *widget) const
{
    if (icon == SP_CommandLink)
        return {};
    return QProxyStyle::standardIcon(icon, option, widget);
}

void CommandLinkIconStyle::install()
{
    // Without a base style the proxy makes the one QApplication would have
    // made: the -style option or QT_STYLE_OVERRIDE, else the desktop's.
    QApplication::setStyle(new CommandLinkIconStyle);
}
