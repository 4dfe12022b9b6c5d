#ifndef COMMANDLINKICONSTYLE_H
#define COMMANDLINKICONSTYLE_H

#include <QProxyStyle>

// The style the program would have anyway (the desktop's, or -style),
// but for one thing: a command link button gets no stock arrow when it is
// made. Every command link button of the program's forms shows an image of
// its own, set right after; looking the arrow up in the icon theme (reading
// the theme's index, loading every image plugin) cost each start some 4 ms
// for an icon nobody sees.
class CommandLinkIconStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

    // Makes it the application's style; call before any widget is made.
    static void install();
};

#endif
