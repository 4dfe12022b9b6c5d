#include "OptionDialog.h"
#include "ScopedAppFolder.h"
#include "TestData.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <memory>

// The reader on screen is the one in use while the dialog is open (so the
// sample plays it), is taken on OK and undone otherwise; the check shows its
// report.
class OptionsReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void readerOnScreen_inUseWhileOpen_keptOnlyOnOk_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void readerOnScreen_inUseWhileOpen_keptOnlyOnOk()
    {
        QFETCH(bool, accept);
        ScopedAppFolder app;
        QVERIFY(app.isValid());
        for (const char *name : {"voices/Ono/ono_000_2.ogg", "voices/Sei/sei_000_2.ogg"})
            QVERIFY(QDir().mkpath(QFileInfo(app.filePath(QLatin1String(name))).path())
                    && TestData::writeFile(app.filePath(QLatin1String(name)), "not audio"));

        auto dialog = std::make_unique<OptionDialog>(nullptr, 1, true, nullptr);
        dialog->showReaderControls(QStringLiteral("Sei"), app.reader, app.folder());
        QCOMPARE(app.reader.get().prefix, QStringLiteral("sei"));
        auto *choice = dialog->findChild<QComboBox *>(QStringLiteral("comboBox_reader"));
        QCOMPARE(choice->count(), 3); // the two voices, Ono, Sei
        QVERIFY(!dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_1"))->isEnabled());

        choice->setCurrentIndex(choice->findData(QStringLiteral("Ono")));
        QCOMPARE(app.reader.get().prefix, QStringLiteral("ono"));
        dialog->findChild<QPushButton *>(QStringLiteral("pushButton_check"))->click();
        // The check runs on a worker thread; the report comes when it ends.
        const auto *reportView =
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit_report"));
        QTRY_VERIFY2(reportView->toPlainText().contains(QLatin1String("ono_000_2.ogg")),
                     qPrintable(reportView->toPlainText()));

        const auto button = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
        dialog->findChild<QDialogButtonBox *>()->button(button)->click();
        QCOMPARE(dialog->reader(), accept ? QStringLiteral("Ono") : QStringLiteral("Sei"));
        QCOMPARE(dialog->voice(), 1);
        dialog.reset();
        QCOMPARE(app.reader.get().prefix, accept ? QStringLiteral("ono") : QString());
    }
    // Rename and delete change the library at once, so the reader kept on
    // Cancel follows them instead of naming a folder that is gone.
    void readerInForce_renamedThenDeleted_followedOnCancel()
    {
        ScopedAppFolder app;
        QVERIFY(app.isValid());
        const QString verse = app.filePath(QStringLiteral("voices/Sei/sei_000_2.ogg"));
        QVERIFY(QDir().mkpath(QFileInfo(verse).path()) && TestData::writeFile(verse, "not audio"));
        auto dialog = std::make_unique<OptionDialog>(nullptr, 1, true, nullptr);
        dialog->showReaderControls(QStringLiteral("Sei"), app.reader, app.folder());

        QTimer::singleShot(0, [] {
            auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            QVERIFY(input);
            input->setTextValue(QStringLiteral("Kiyo"));
            input->accept();
        });
        clickButtonTitled(*dialog, QStringLiteral("名前の変更"));
        QCOMPARE(dialog->reader(), QStringLiteral("Kiyo"));
        QVERIFY(app.reader.get().folder.endsWith(QLatin1String("/Kiyo")));

        QTimer::singleShot(0, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->button(QMessageBox::Yes)->click();
        });
        clickButtonTitled(*dialog, QStringLiteral("削除"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog->reader(), QString());
        dialog.reset();
        QVERIFY(!app.reader.get().isSet());
    }

private:
    static void clickButtonTitled(QWidget &dialog, const QString &title)
    {
        for (auto *button : dialog.findChildren<QPushButton *>())
            if (button->text() == title)
                return button->click();
        QFAIL(qPrintable(title));
    }
};

QTEST_MAIN(OptionsReaderTest)
#include "tst_options_reader.moc"
