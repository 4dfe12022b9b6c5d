#ifndef UILANGUAGE_H
#define UILANGUAGE_H

#include <QStringList>

class QCoreApplication;

// The language of the interface. The texts are written in Japanese; an
// English translation is embedded as ":/i18n/QtUtakaze_en.qm", and the
// images with words have English versions tagged lang="en" in the resources.
class UiLanguage
{
public:
    enum Language { Japanese, English };

    // From the system's preferred languages (QLocale::system().uiLanguages(),
    // which follows LANGUAGE, LC_ALL and LANG): Japanese when the first is
    // Japanese or when no language is set (C, POSIX), English for any other.
    static Language choose(const QStringList &uiLanguages);

    // Installs the translation of the language into the application (the
    // translator is the application's child) and, for English, makes English
    // the default locale so that the English images are picked. For
    // Japanese our texts show as written and Qt's own texts (OK, Cancel, Yes,
    // No of its buttons and boxes) are translated with Qt's translations.
    // False when the English translation could not be loaded (the texts stay
    // Japanese).
    static bool install(QCoreApplication &application, Language language);

    // Qt's own texts in the language, from Qt's translations folder
    // (Debian: qt6-translations-l10n). False when they are not there.
    static bool installQtTexts(QCoreApplication &application, Language language);
};

#endif
