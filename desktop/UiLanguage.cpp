#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

UiLanguage::Language UiLanguage::choose(const QStringList &uiLanguages)
{
    if (uiLanguages.isEmpty())
        return Japanese;
    const QString first = uiLanguages.first();
    if (first.isEmpty() || first == QLatin1String("C") || first == QLatin1String("POSIX")
        || first.startsWith(QLatin1String("C.")) || first.startsWith(QLatin1String("ja")))
        return Japanese;
    return English;
}

bool UiLanguage::installQtTexts(QCoreApplication &application, Language language)
{
    if (language != Japanese)
        return true; // Qt's own texts are written in English
    auto *translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool UiLanguage::install(QCoreApplication &application, Language language)
{
    if (language == Japanese) {
        // Without Qt's translations its buttons stay in English; our texts
        // show as written either way.
        if (!installQtTexts(application, language))
            qWarning("Qt's Japanese translations (qtbase_ja.qm) were not found in %s",
                     qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        return true;
    }
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/i18n/QtUtakaze_en.qm"))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    // Resources are looked up in the default locale: without this a German
    // desktop would get the untagged (Japanese) images with English texts.
    if (QLocale().language() != QLocale::English)
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return true;
}
