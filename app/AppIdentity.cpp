#include "AppIdentity.h"

#include <QCoreApplication>

void SetApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("QtUtakaze"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QTUTAKAZE_VERSION));
}
