#include "MainWindowProbe.h"
#include "QuickAudioDevice.h"
#include "WindowServices.h"

#include <QAction>
#include <QCommandLinkButton>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

class TestMainWindowForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowServices> dir;

private slots:
    void init()
    {
        dir = std::make_unique<WindowServices>();
        QuickAudioDevice::install(dir->audio);
        QVERIFY(dir->isValid());
    }

    void cleanup() { dir.reset(); }

    void window_fixedSizeTitleAndIcon()
    {
        MainWindow window(dir->services());
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(window.windowTitle(), QStringLiteral("QtUtakaze"));
        QCOMPARE(window.size(), QSize(391, 429));
        QCOMPARE(window.minimumSize(), QSize(391, 429));
        QCOMPARE(window.maximumSize(), QSize(391, 429));
        QVERIFY(!window.windowIcon().isNull());
        window.resize(800, 600);
        QCOMPARE(window.size(), QSize(391, 429));
    }

    void widgets_geometryAndProperties_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Btn_Stop") << "Btn_Stop"
                                  << "QCommandLinkButton" << QRect(250, 220, 41, 81);
        QTest::newRow("Btn_Start") << "Btn_Start"
                                   << "QCommandLinkButton" << QRect(170, 210, 51, 101);
        QTest::newRow("label") << "label"
                               << "QLabel" << QRect(20, 10, 161, 31);
        QTest::newRow("spinBox_2") << "spinBox_2"
                                   << "QSpinBox" << QRect(180, 130, 51, 30);
        QTest::newRow("checkBox") << "checkBox"
                                  << "QCheckBox" << QRect(280, 140, 16, 16);
        QTest::newRow("Btn_FudaSelect") << "Btn_FudaSelect"
                                        << "QPushButton" << QRect(330, 10, 41, 71);
        QTest::newRow("spinBox_1") << "spinBox_1"
                                   << "QSpinBox" << QRect(180, 90, 51, 30);
        QTest::newRow("Slider_Volume") << "Slider_Volume"
                                       << "QSlider" << QRect(220, 350, 160, 21);
        QTest::newRow("label_7") << "label_7"
                                 << "QLabel" << QRect(180, 350, 31, 16);
        QTest::newRow("Btn_AnkiJikan") << "Btn_AnkiJikan"
                                       << "QCommandLinkButton" << QRect(20, 240, 40, 121);
    }

    void widgets_geometryAndProperties()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        MainWindow window(dir->services());
        QWidget *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->parentWidget(), window.centralWidget());
    }

    void form_textsRangesAndMenus()
    {
        MainWindow window(dir->services());
        Ui::MainWindow *ui = MainWindowProbe(window).ui();
        QCOMPARE(ui->label_7->text(), QStringLiteral("音量"));
        QCOMPARE(ui->spinBox_1->minimum(), 1);
        QCOMPARE(ui->spinBox_1->maximum(), 20);
        QCOMPARE(ui->spinBox_2->minimum(), 1);
        QCOMPARE(ui->spinBox_2->maximum(), 10);
        QCOMPARE(ui->spinBox_1->font().pointSize(), 18);
        QCOMPARE(ui->Slider_Volume->orientation(), Qt::Horizontal);
        QCOMPARE(ui->Slider_Volume->maximum(), 100);
        QVERIFY(ui->Btn_Start->isDefault());
        QCOMPARE(ui->Btn_Start->iconSize(), QSize(120, 170));
        QCOMPARE(ui->Btn_Stop->shortcut(), QKeySequence(QStringLiteral("End")));
        QCOMPARE(ui->Btn_Start->shortcut(), QKeySequence(QStringLiteral("Home")));
        // One widget per shortcut: a shared "Home" would be ambiguous.
        QVERIFY(ui->Btn_AnkiJikan->shortcut().isEmpty());
        QCOMPARE(ui->actionQuit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));

        const QList<QAction *> bar = ui->menuBar->actions();
        QCOMPARE(bar.size(), 5);
        QCOMPARE(bar.at(0)->text(), QStringLiteral("File"));
        QCOMPARE(bar.at(1)->text(), QStringLiteral("Edit"));
        QCOMPARE(bar.at(2)->text(), QStringLiteral("View"));
        QCOMPARE(bar.at(3)->menu(), ui->menuReading); // Next and Repeat during a reading
        QCOMPARE(bar.at(4)->text(), QStringLiteral("Help"));
        const QList<QAction *> file = ui->menuFile->actions();
        QCOMPARE(file.size(), 2);
        QVERIFY(file.at(0)->isSeparator());
        QCOMPARE(file.at(1)->text(), QStringLiteral("Exit"));
        QCOMPARE(ui->menuEdit->actions(),
                 (QList<QAction *> {ui->actionOption, ui->actionFuda, ui->actionPractice}));
        // Data folders comes before the two About entries.
        QCOMPARE(ui->menuHelp->actions(),
                 (QList<QAction *> {ui->actionDataFolders, ui->actionAbout, ui->actionAboutQt}));
        QCOMPARE(ui->actionAboutQt->text(), QStringLiteral("AboutQt"));
        QVERIFY(ui->mainToolBar->actions().isEmpty());
        QCOMPARE(window.toolBarArea(ui->mainToolBar), Qt::TopToolBarArea);
        QCOMPARE(window.statusBar(), ui->statusBar);
    }

    void resources_loadAtTheirSizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Play") << ":/images/Play.png" << QSize(39, 76);
        QTest::newRow("Pause") << ":/images/Pause.png" << QSize(39, 76);
        QTest::newRow("Stop") << ":/images/Stop.png" << QSize(39, 76);
        QTest::newRow("joka") << ":/images/Image/joka_jp.png" << QSize(75, 40);
        QTest::newRow("kamikusimokunoma")
            << ":/images/Image/kamikusimokunoma_jp.png" << QSize(153, 28);
        QTest::newRow("jikumadenoma") << ":/images/Image/jikumadenoma_jp.png" << QSize(153, 28);
        QTest::newRow("second") << ":/images/Image/second_jp.png" << QSize(39, 40);
        QTest::newRow("fudaselect") << ":/images/Image/fudaselect_jp.png" << QSize(27, 76);
        QTest::newRow("ankijikan") << ":/images/Image/ankijikan_jp.png" << QSize(39, 148);
        QTest::newRow("logo") << ":/images/Image/Utakaze_logo.png" << QSize(204, 40);
        QTest::newRow("icon") << ":/images/Image/QtUtakazeIcon.png" << QSize(32, 32);
    }

    void resources_loadAtTheirSizes()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
        QVERIFY(image.hasAlphaChannel());
    }

    void keys_homeStartsEndStopsCtrlQCloses()
    {
        // Btn_Start is enabled only with the first voice's preamble present.
        QDir(dir->path()).mkpath(QStringLiteral("Music"));
        QFile probe(dir->filePath(QStringLiteral("Music/rindou_000_2.ogg")));
        QVERIFY(probe.open(QIODevice::WriteOnly));
        probe.close();

        MainWindow window(dir->services());
        Ui::MainWindow *ui = MainWindowProbe(window).ui();
        QVERIFY(ui->Btn_Start->isEnabled());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QSignalSpy started(ui->Btn_Start, &QAbstractButton::clicked);
        QSignalSpy memorization(ui->Btn_AnkiJikan, &QAbstractButton::clicked);
        QTest::keyClick(&window, Qt::Key_Home);
        QTRY_COMPARE(started.size(), 1); // a shortcut clicks after a short animation
        QCOMPARE(memorization.size(), 0);
        QVERIFY(MainWindowProbe(window).inSequence());

        // Stop asks first; answer Cancel here.
        QSignalSpy stopped(ui->Btn_Stop, &QAbstractButton::clicked);
        QTimer answer; // as soon as the question shows
        connect(&answer, &QTimer::timeout, this, [&answer] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                answer.stop();
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        answer.start(10);
        QTest::keyClick(&window, Qt::Key_End);
        QTRY_COMPARE(stopped.size(), 1);
        QVERIFY(MainWindowProbe(window).inSequence()); // Cancel: still reading

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindow_form.moc"
