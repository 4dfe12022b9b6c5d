#include "AboutText.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace AboutText {

QString html()
{
    // The opening lines are the window's own since the first version, with
    // their translation.
    QString text =
        QCoreApplication::translate("MainWindow",
                                    "<h2>%1 %2</h2><p>use Qt%3 (%4bit)<p>use SDL audio library")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::number(QT_VERSION_MAJOR), QString::number(QSysInfo::WordSize));

    // The program's own licence; its identifier is not translated.
    text += QStringLiteral("<p>%1 GPL-3.0-or-later</p>")
                .arg(QCoreApplication::translate("AboutText", "ライセンス:"));

    struct Credit
    {
        const char *name;
        const char *licence;
    };
    // Names and licence identifiers are not translated.
    static const Credit libraries[] = {
        {"Qt", "LGPL-3.0"},
        {"SDL2", "zlib"},
        {"libsndfile", "LGPL-2.1+"},
        {"libsamplerate", "BSD-2-Clause"},
        {"libebur128", "MIT"},
        {"Rubber Band", "GPL-2.0+"},
        {"Open JTalk", "BSD-3-Clause"},
    };
    QString rows;
    for (const Credit &library : libraries)
        rows += QStringLiteral("<tr><td>%1</td><td>&nbsp;%2</td></tr>")
                    .arg(QLatin1String(library.name), QLatin1String(library.licence));
    text +=
        QStringLiteral("<p>%1</p><table>%2</table>")
            .arg(QCoreApplication::translate("AboutText", "使用しているライブラリとライセンス:"),
                 rows);
    text += QStringLiteral("<p>%1<br>&copy; Nagoya Institute of Technology / MMDAgent Project "
                           "Team, CC BY 3.0</p>")
                .arg(QCoreApplication::translate("AboutText", "音声 \"Mei\" と \"Takumi\":"));
    return text;
}

} // namespace AboutText
