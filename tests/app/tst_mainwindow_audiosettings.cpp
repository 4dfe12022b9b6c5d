#include "AudioShapingStore.h"
#include "MainWindow.h"
#include "OptionDialog.h"
#include "ScopedAppFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>

// The window's part in verse shaping: group AUDIO read at start and put in
// force, edited through the options dialog, written at exit.
class TestMainWindowAudioSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedAppFolder> dir;
    QString iniPath() const { return dir->filePath(QStringLiteral("QtUtakaze.ini")); }

private slots:
    void init()
    {
        dir = std::make_unique<ScopedAppFolder>();
        QVERIFY(dir->isValid());
        AudioShapingStore::set(AudioShaping{});
    }
    void cleanup() { dir.reset(); }

    void defaults_writeNoAudioGroup()
    {
        { MainWindow window; }
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("[AUDIO]"));
    }

    void storedShaping_inForceEditedAndWrittenBack()
    {
        {
            QSettings stored(iniPath(), QSettings::IniFormat);
            stored.setValue("AUDIO/TrimSilence", true);
            stored.setValue("AUDIO/Speed", 1.5);
        }
        {
            MainWindow window;
            QCOMPARE(AudioShapingStore::get(), (AudioShaping{true, false, 1.5}));

            QTimer::singleShot(0, &window, [&window]() {
                auto *dialog = window.findChild<OptionDialog *>();
                QVERIFY(dialog);
                dialog->findChild<QCheckBox *>(QStringLiteral("checkBox_normalize"))->click();
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            });
            window.findChild<QAction *>(QStringLiteral("actionOption"))->trigger();
            QCOMPARE(AudioShapingStore::get(), (AudioShaping{true, true, 1.5}));
        }
        QSettings stored(iniPath(), QSettings::IniFormat);
        QCOMPARE(stored.value("AUDIO/TrimSilence").toString(), QStringLiteral("true"));
        QCOMPARE(stored.value("AUDIO/Normalize").toString(), QStringLiteral("true"));
        QCOMPARE(stored.value("AUDIO/Speed").toDouble(), 1.5);
    }
};

QTEST_MAIN(TestMainWindowAudioSettings)
#include "tst_mainwindow_audiosettings.moc"
