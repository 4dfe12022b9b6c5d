#include "AppFolder.h"
#include "AppIdentity.h"
#include "AppServices.h"
#include "AudioOutput.h"
#include "AudioShapingStore.h"
#include "CheckReaderCommand.h"
#include "CommandLinkIconStyle.h"
#include "CuePlayer.h"
#include "DataFoldersDialog.h"
#include "ImportReaderCommand.h"
#include "MainWindow.h"
#include "MprisBridge.h"
#include "MprisController.h"
#include "QuitSignalNotifier.h"
#include "ReaderGaps.h"
#include "ReaderInUse.h"
#include "ReaderLibrary.h"
#include "ReadingSession.h"
#include "SingleInstance.h"
#include "UiLanguage.h"
#include "Voices.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <optional>

int main(int argc, char *argv[])
{
    // --check-reader DIR: a report on standard output, without a window.
    if (CheckReaderCommand::isRequested(argc, argv)) {
        QCoreApplication application(argc, argv);
        UiLanguage::install(application, UiLanguage::choose(QLocale::system().uiLanguages()));
        QTextStream out(stdout), err(stderr);
        return CheckReaderCommand::run(application.arguments(), out, err);
    }
    // --import-reader SOURCE NAME [--pattern P]: into the library of the
    // data folders the window would use, without a window.
    if (ImportReaderCommand::isRequested(argc, argv)) {
        QCoreApplication application(argc, argv);
        UiLanguage::install(application, UiLanguage::choose(QLocale::system().uiLanguages()));
        const AppFolder folder = AppFolder::choose();
        QTextStream out(stdout), err(stderr);
        return ImportReaderCommand::run(application.arguments(), ReaderLibrary(folder).root(), out,
                                        err);
    }

    // The sound output: nothing opens until a reading thread asks for it.
    AudioOutput audio;
    // Made when the event loop returns, and waited for last of all (see below).
    std::optional<AudioOutputShutdown> audioShutdown;
    QApplication application(argc, argv);
    SetApplicationIdentity();
    CommandLinkIconStyle::install();
    UiLanguage::install(application, UiLanguage::choose(QLocale::system().uiLanguages()));

    // Portable (a writable program folder) or per-user data folders.
    QStringList uncreatable;
    const AppFolder folder = AppFolder::choose(&uncreatable);
    // The reader and the shaping in use, set from the settings the window reads.
    ReaderInUse readerInUse;
    AudioShapingStore shapingInForce;
    const Voices voices(folder, readerInUse);
    OutputCuePlayer cues(folder, audio);

    // A second start in the same folder shows the first program's window.
    SingleInstance instance(folder.path());
    if (!instance.claim())
        return 0;

    // A logout, Ctrl+C or a closed terminal ends the program as File > Exit
    // does, dialogs included: every event loop is left, then the window
    // below is destroyed and writes the settings.
    QuitSignalNotifier quitSignals;
    QObject::connect(&quitSignals, &QuitSignalNotifier::quitRequested, &application,
                     [] { QCoreApplication::exit(0); });

    // The window is shown first: the sound device (a sound server's answer,
    // the audio libraries) opens from the event loop right after.
    audio.holdBackOpening();
    auto window = std::make_unique<MainWindow>(
        AppServices {folder, readerInUse, shapingInForce, voices, cues, audio});
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(),
                     &MainWindow::BringToFront);

    // Cards the reader has no recording of, named for the whole reading.
    auto *gapsLabel = new QLabel(window.get());
    window->statusBar()->addPermanentWidget(gapsLabel);
    gapsLabel->hide();
    QObject::connect(window->Session(), &ReadingSession::cardsWithoutRecordings, gapsLabel,
                     [gapsLabel](const QList<int> &cards) {
                         gapsLabel->setText(ReaderGaps::message(cards));
                         gapsLabel->show();
                     });
    QObject::connect(window->Session(), &ReadingSession::readingEnded, gapsLabel, &QLabel::hide);

    MprisController mpris;
    new MprisBridge(window.get(), window->Session(), &mpris); // owned by the window
    mpris.registerOnSessionBus();

    window->show();
    QTimer::singleShot(0, window.get(), [&window, &uncreatable] {
        window->openHeldBackOutput();
        if (!uncreatable.isEmpty())
            window->statusBar()->showMessage(DataFoldersDialog::creationFailedMessage(uncreatable));
    });
    const int result = application.exec();
    // The sound device closes (SDL plays out two more buffers first) while
    // the window ends the reading and writes its files, and while the
    // application object is torn down; the close is waited for last.
    audioShutdown.emplace(audio);
    window.reset(); // writes the settings and ends the reading thread
    return result;
}
