// Renders the take drill's screenshots for the README: the field during a
// drill (one card just taken), the chart of recent drills after it, a
// drill of fifty cards in a window as large as a 1280x720 screen leaves it
// (a 32 px panel and a 28 px title bar taken off), and the game field at
// 1280x720 with a card taken by keyboard. The drills behind the chart are
// made up here, the same every time.
//
// Usage: qtutakaze_drill_screenshots <output folder>

#include "DrillField.h"
#include "DrillFieldLayout.h"
#include "DrillGameField.h"
#include "DrillReader.h"
#include "DrillRecord.h"
#include "DrillWindow.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A reader that reads nothing: the shots need only its first verse.
class StillReader : public DrillReader
{
public:
    void readVerse(int card, int, int) override { lastCard = card; }
    void stop() override {}
    void next() override {}
    void repeat() override {}
    qint64 nowMs() const override { return now; }
    QString voiceName() const override { return QStringLiteral("音声1　（女性）"); }
    QString timingFile() const override { return {}; }

    int lastCard = 0;
    qint64 now = 0;
};

void makeUpDrills(const QString &appFolder)
{
    QRandomGenerator random(22);
    const DrillRecord record(QDir(appFolder).filePath(QLatin1String(DrillRecord::FolderName)));
    const QDateTime first(QDate(2026, 11, 1), QTime(21, 0));
    for (int day = 0; day < 12; ++day) {
        QList<DrillRow> rows;
        for (int position = 1; position <= 20; ++position) {
            DrillRow row;
            row.position = position;
            row.card = random.bounded(1, 41);
            row.kimariji = QStringLiteral("-");
            const int roll = random.bounded(20);
            row.result = roll == 0 ? DrillResult::Missed
                : roll < 3         ? DrillResult::Fault
                                   : DrillResult::Taken;
            if (row.result != DrillResult::Missed)
                row.reactionMs = 150 + random.bounded(700) + row.card * 10;
            rows.append(row);
        }
        record.save(first.addDays(day), rows);
    }
}

// Arrow keys from the focused card to `card`, then Space, as a player would.
void takeByKeyboard(const DrillGameField *field, int card)
{
    const QPoint target = DrillFieldLayout::cell(*field->fieldLayout().place(card));
    auto press = [field](int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        if (QWidget *focused = field->window()->focusWidget())
            QApplication::sendEvent(focused, &down);
    };
    for (int steps = 0; steps < 40; ++steps) {
        const auto *tile = qobject_cast<DrillTile *>(field->window()->focusWidget());
        if (!tile || tile->card() == card)
            break;
        const QPoint here = DrillFieldLayout::cell(*field->fieldLayout().place(tile->card()));
        press(target.y() < here.y()       ? Qt::Key_Up
                  : target.y() > here.y() ? Qt::Key_Down
                  : target.x() < here.x() ? Qt::Key_Left
                                          : Qt::Key_Right);
    }
    press(Qt::Key_Space);
}

bool save(QWidget *window, const QString &path)
{
    const bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    makeUpDrills(scratch.path());

    StillReader reader;
    DrillWindow window(&reader, scratch.path(), scratch.filePath(QStringLiteral("QtUtakaze.ini")));
    QList<int> cards;
    for (int card = 1; card <= 40; ++card)
        cards.append(card);
    window.setSelectedCards(cards);
    window.show();
    window.startDrill();
    emit reader.verseStarted(reader.lastCard, 1, 1000, 0, 1.0);
    reader.now = 1612;
    window.field()->tile(reader.lastCard)->click();
    QApplication::processEvents();
    bool ok = save(&window, out.filePath(QStringLiteral("drill-field.png")));
    window.stopDrill();
    QApplication::processEvents();
    ok &= save(&window, out.filePath(QStringLiteral("drill-chart.png")));

    DrillWindow laptop(&reader, scratch.path(),
                       scratch.filePath(QStringLiteral("QtUtakaze.ini")));
    for (int card = 41; card <= 50; ++card)
        cards.append(card);
    laptop.setSelectedCards(cards);
    if (auto *count = laptop.findChild<QSpinBox *>())
        count->setValue(50);
    laptop.resize(1280, 720 - 32 - 28);
    laptop.show();
    laptop.startDrill();
    emit reader.verseStarted(reader.lastCard, 1, 1000, 0, 1.0);
    reader.now = 1540;
    laptop.field()->tile(reader.lastCard)->click();
    QApplication::processEvents();
    ok &= save(&laptop, out.filePath(QStringLiteral("drill-1280x720.png")));
    laptop.stopDrill();
    window.close();

    StillReader gameReader;
    DrillWindow game(&gameReader, scratch.path(),
                     scratch.filePath(QStringLiteral("QtUtakaze.ini")));
    game.setSelectedCards(cards);
    DrillFieldSettings gameField;
    gameField.gameField = true;
    game.setFieldSettings(gameField);
    game.resize(1280, 720);
    game.show();
    game.activateWindow();
    QApplication::processEvents();
    game.startDrill();
    QApplication::processEvents();
    game.resize(1280, 720); // room enough once the field is laid out for taking
    emit gameReader.verseStarted(gameReader.lastCard, 1, 1000, 0, 1.0);
    gameReader.now = 1540;
    takeByKeyboard(game.gameField(), gameReader.lastCard);
    QApplication::processEvents();
    std::printf("game field window: minimum %dx%d, tile %d px wide\n",
                game.minimumSizeHint().width(), game.minimumSizeHint().height(),
                game.gameField()->tile(game.gameField()->fieldLayout().first())->width());
    ok &= save(&game, out.filePath(QStringLiteral("drill-game-field.png")));
    return ok ? 0 : 1;
}
