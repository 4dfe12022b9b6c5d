// Opens the program's windows in the states the README shows and saves a
// picture of each: the main window idle and during a reading, the card
// selection with some boxes checked, the options, the practice settings and
// the timer counting, the poem panel with the longest poem and the history
// window with its list of readings open. With --english, only the main window with the English
// translation (main-window-en.png). With --broadcast, only the main window
// broadcasting through a snapserver it starts, two snapclients joined
// (broadcast.png; needs snapserver and snapclient).
// Usage: qtutakaze_screenshots <application folder with Music/> <output folder>
//        [--english | --broadcast]

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "AppIdentity.h"
#include "AppServices.h"
#include "AudioOutput.h"
#include "AudioShapingStore.h"
#include "CardCatalog.h"
#include "CommandLinkIconStyle.h"
#include "CuePlayer.h"
#include "FudaSelectDlg.h"
#include "HistoryWindow.h"
#include "KimarijiChanges.h"
#include "KimarijiModel.h"
#include "MainWindow.h"
#include "PoemPanel.h"
#include "PracticeDialog.h"
#include "ReaderInUse.h"
#include "UiLanguage.h"
#include "Voices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QList>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget *window, const QString &path, bool activate = true)
{
    // Not with a popup open: the popup would close.
    if (activate) {
        window->raise();
        window->activateWindow();
    }
    settle(400);
    // The whole window with its frame, as the X server shows it.
    const QPixmap shot = window->screen()->grabWindow(
        0, window->frameGeometry().x(), window->frameGeometry().y(),
        window->frameGeometry().width(), window->frameGeometry().height());
    const bool ok = shot.save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// The card whose poem or reading has the widest line: the panel at its fullest.
int longestPoem()
{
    const CardCatalog &catalog = CardCatalog::builtIn();
    QFont poemFont = QApplication::font();
    poemFont.setPointSizeF(poemFont.pointSizeF() * 1.5);
    const QFontMetrics poem(poemFont);
    const QFontMetrics reading(QApplication::font());
    int widest = 0;
    int longest = 1;
    for (int card : catalog.numbers()) {
        const CardInfo info = catalog.card(card);
        const int width =
            std::max({poem.horizontalAdvance(info.phrases.mid(0, 3).join(QLatin1Char(' '))),
                      poem.horizontalAdvance(info.phrases.mid(3).join(QLatin1Char(' '))),
                      reading.horizontalAdvance(info.upperReading),
                      reading.horizontalAdvance(info.lowerReading)});
        if (width > widest) {
            widest = width;
            longest = card;
        }
    }
    return longest;
}

// Two earlier practice readings, the later one stopped early, so the history
// list has something to show beside the reading just made.
void addPastReadings(const AppFolder &folder)
{
    const ReadingHistory history(folder.filePath(QStringLiteral("history")));
    const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
    QList<HistoryEntry> entries;
    const QList<int> cards {87, 18, 57, 22, 70, 81, 77, 21, 63, 61, 60, 95, 44};
    for (int i = 0; i < cards.size(); ++i)
        entries.append({i + 1, cards.at(i), false,
                        CardCatalog::builtIn().card(cards.at(i)).kimariji, i * 14500});
    history.save(yesterday, entries, false);
    history.save(yesterday.addSecs(900), entries.mid(0, 5), true);
}

// The main window broadcasting, with two players' clients joined (their
// sound thrown away); the settings file of the scratch folder asks for it.
bool broadcastShot(const AppServices &services, const QDir &out)
{
    {
        QSettings ini(services.folder.filePath(QStringLiteral("QtUtakaze.ini")),
                      QSettings::IniFormat);
        ini.setValue(QStringLiteral("OUTPUT/Broadcast"), true);
        ini.setValue(QStringLiteral("OUTPUT/LocalClient"), false);
    }
    MainWindow window(services);
    window.move(40, 40);
    window.show();
    settle(1500); // the server opens its ports
    QList<QProcess *> players;
    for (const char *name : {"player-1", "player-2"}) {
        auto *player = new QProcess(&window);
        player->start(QStringLiteral("snapclient"),
                      {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("--hostID"),
                       QString::fromLatin1(name), QStringLiteral("--player"),
                       QStringLiteral("file:filename=null"), QStringLiteral("--logsink"),
                       QStringLiteral("null")});
        players.append(player);
    }
    settle(5000); // two polls of the server's count
    const bool ok = save(&window, out.filePath(QStringLiteral("broadcast.png")));
    for (QProcess *player : players) {
        player->terminate();
        player->waitForFinished(2000);
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    SetApplicationIdentity();
    CommandLinkIconStyle::install(); // as the program looks
    const bool english = argc == 4 && qstrcmp(argv[3], "--english") == 0;
    const bool broadcast = argc == 4 && qstrcmp(argv[3], "--broadcast") == 0;
    if (argc != 3 && !english && !broadcast) {
        std::fprintf(stderr,
                     "usage: %s <application folder> <output folder> [--english | --broadcast]\n",
                     argv[0]);
        return 2;
    }
    // As the program starts: Qt's own buttons in Japanese too.
    UiLanguage::install(application, english ? UiLanguage::English : UiLanguage::Japanese);
    const AppFolder folder =
        AppFolder::portable(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    ReaderInUse readerInUse;
    AudioShapingStore shapingInForce;
    const Voices voices(folder, readerInUse);
    AudioOutput audio;
    OutputCuePlayer cues(folder, audio);
    const AppServices services {folder, readerInUse, shapingInForce, voices, cues, audio};
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = true;
    if (broadcast)
        return broadcastShot(services, out) ? 0 : 1;

    MainWindow window(services);
    window.move(40, 40);
    window.show();
    if (english)
        return save(&window, out.filePath(QStringLiteral("main-window-en.png"))) ? 0 : 1;
    ok &= save(&window, out.filePath(QStringLiteral("main-window.png")));

    // The options as the menu opens them (with the sample button live).
    QTimer::singleShot(300, &window, [&ok, &out] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            ok &= save(dialog, out.filePath(QStringLiteral("options.png")));
            dialog->reject();
        } else {
            ok = false;
        }
    });
    window.findChild<QAction *>(QStringLiteral("actionOption"))->trigger();

    // A short review reading with one dead card, then the poem panel beside
    // the window and the history window showing it.
    auto *wait1 = window.findChild<QSpinBox *>(QStringLiteral("spinBox_1"));
    auto *wait2 = window.findChild<QSpinBox *>(QStringLiteral("spinBox_2"));
    const int wait1Before = wait1->value();
    const int wait2Before = wait2->value();
    wait1->setValue(1);
    wait2->setValue(1);
    if (window.Session()->readInOrder({18, 44, 79, 1}, {79})) {
        while (!wait1->isEnabled()) // the controls come back when the reading is over
            settle(200);
    } else {
        ok = false;
    }
    wait1->setValue(wait1Before);
    wait2->setValue(wait2Before);
    window.findChild<QAction *>(QStringLiteral("actionPoemPanel"))->trigger();
    if (auto *panel = window.findChild<PoemPanel *>()) {
        const int card = longestPoem();
        KimarijiModel model = KimarijiModel::fromCatalog(CardCatalog::builtIn());
        model.reset(KimarijiModel::unreadAtStart({}, true));
        panel->showCard(card, model.currentLength(card),
                        KimarijiChanges::whenRead(model, card, model.unread()));
        ok &= save(panel, out.filePath(QStringLiteral("poem-panel.png")));
    }
    window.findChild<QAction *>(QStringLiteral("actionPoemPanel"))->trigger();
    addPastReadings(folder);
    window.findChild<QAction *>(QStringLiteral("actionHistory"))->trigger();
    if (auto *history = window.findChild<HistoryWindow *>()) {
        history->move(40, 40);
        ok &= save(history, out.filePath(QStringLiteral("history.png")));
        auto *list = history->findChild<QComboBox *>(QStringLiteral("readings"));
        list->showPopup();
        ok &= save(history, out.filePath(QStringLiteral("history-list.png")), false);
        list->hidePopup();
        history->hide();
    }

    auto *start = window.findChild<QAbstractButton *>(QStringLiteral("Btn_Start"));
    auto *joka = window.findChild<QCheckBox *>(QStringLiteral("checkBox"));
    joka->setChecked(false);
    start->click();
    settle(1500); // the first upper verse has begun
    ok &= save(&window, out.filePath(QStringLiteral("reading.png")));
    start->click(); // pause, so the dialogs below are shown over a quiet window

    QList<int> cards {87, 18, 57, 61, 21, 63, 1, 12, 7, 43};
    FudaSelectDlg select(nullptr);
    select.SetFudaList(&cards);
    select.move(40, 40);
    select.show();
    ok &= save(&select, out.filePath(QStringLiteral("card-selection.png")));
    select.hide();

    AnkiJikan_Dialog timer(nullptr, cues);
    timer.move(40, 40);
    timer.show();
    timer.findChild<QAbstractButton *>(QStringLiteral("StartStopBtn"))->click();
    for (int minute = 0; minute < 4; ++minute)
        QMetaObject::invokeMethod(&timer, "TimeOutDone");
    ok &= save(&timer, out.filePath(QStringLiteral("timer.png")));
    timer.hide();

    // The practice settings of a match-like practice.
    PracticeSettings practice;
    practice.style = ReadingStyle::Competitive;
    practice.advance = AdvanceMode::Manual;
    practice.deadCards = 3;
    PracticeDialog practiceDialog(nullptr, practice);
    practiceDialog.move(40, 40);
    practiceDialog.show();
    ok &= save(&practiceDialog, out.filePath(QStringLiteral("practice.png")));
    practiceDialog.hide();

    return ok ? 0 : 1;
}
