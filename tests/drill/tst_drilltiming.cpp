#include "DrillRounds.h"
#include "TimingTable.h"
#include "VerseShaper.h"

#include <QTest>

#include <cmath>
#include <numbers>

namespace {

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr qint64 LeadMs = 400; // silence before the first mora
constexpr qint64 MoraMs = 170;
constexpr qint64 GapMs = 60;
constexpr int Morae = 6;

// A verse of six morae, each a tone burst, after a silent lead.
std::vector<float> syntheticVerse()
{
    const qint64 totalMs = LeadMs + Morae * (MoraMs + GapMs) + 300;
    std::vector<float> samples(static_cast<std::size_t>(totalMs * Rate / 1000 * Channels), 0.0f);
    for (int m = 0; m < Morae; ++m) {
        const qint64 from = (LeadMs + m * (MoraMs + GapMs)) * Rate / 1000;
        const qint64 to = from + MoraMs * Rate / 1000;
        for (qint64 f = from; f < to; ++f) {
            const float v = 0.5f
                * static_cast<float>(std::sin(2.0 * std::numbers::pi * 440.0
                                              * static_cast<double>(f) / Rate));
            samples[static_cast<std::size_t>(f * Channels)] = v;
            samples[static_cast<std::size_t>(f * Channels + 1)] = v;
        }
    }
    return samples;
}

qint64 moraEndInFile(int mora)
{
    return LeadMs + mora * (MoraMs + GapMs) + MoraMs;
}

// Where the sound of the n-th burst (1-based) ends in shaped samples: the
// last 5 ms block of it above -30 dBFS.
qint64 burstEndMs(const std::vector<float> &samples, int burst)
{
    const qint64 block = Rate / 200;
    const qint64 frames = static_cast<qint64>(samples.size()) / Channels;
    int seen = 0;
    bool inBurst = false;
    for (qint64 start = 0; start + block <= frames; start += block) {
        float peak = 0.0f;
        for (qint64 f = start; f < start + block; ++f)
            peak = std::max(peak, std::abs(samples[static_cast<std::size_t>(f * Channels)]));
        const bool loud = peak > 0.016f;
        if (loud && !inBurst)
            ++seen;
        if (!loud && inBurst && seen == burst)
            return start * 1000 / Rate;
        inBurst = loud;
    }
    return -1;
}

} // namespace

class TestDrillTiming : public QObject
{
    Q_OBJECT

private slots:
    // The deciding syllables' end, mapped through trimming and speed, lands
    // within 20 ms of where the shaped sound has it.
    void kimarijiEnd_matchesTheShapedSound_data()
    {
        QTest::addColumn<bool>("trim");
        QTest::addColumn<double>("speed");
        QTest::addColumn<int>("kana");
        QTest::newRow("as recorded") << false << 1.0 << 2;
        QTest::newRow("trimmed") << true << 1.0 << 1;
        QTest::newRow("trimmed, faster") << true << 1.5 << 3;
        QTest::newRow("slower") << false << 0.75 << 2;
    }
    void kimarijiEnd_matchesTheShapedSound()
    {
        QFETCH(bool, trim);
        QFETCH(double, speed);
        QFETCH(int, kana);
        AudioShaping shaping;
        shaping.trimSilence = trim;
        shaping.speed = speed;
        const std::vector<float> verse = syntheticVerse();
        const std::vector<float> heard = VerseShaper::shape(verse, Channels, Rate, shaping);
        // What the trimming cut off before the sound (it keeps a little before).
        const qint64 lead = trim ? LeadMs - VerseShaper::KeepBeforeMs : 0;

        QList<qint64> ends;
        for (int m = 0; m < Morae; ++m)
            ends.append(moraEndInFile(m));
        const QString sounds = QStringLiteral("こいすちょう"); // the fourth mora is ちょ
        const std::optional<qint64> inFile = TimingTable::endOfKana(ends, sounds, kana);
        QVERIFY(inFile);
        const qint64 predicted = TimingTable::toPlayedMs(*inFile, lead, speed);
        const qint64 measured = burstEndMs(heard, kana);
        qInfo("deciding syllables end: predicted %lld ms, heard %lld ms", predicted, measured);
        QVERIFY2(std::abs(predicted - measured) <= 20,
                 qPrintable(
                     QStringLiteral("predicted %1 ms, heard %2 ms").arg(predicted).arg(measured)));

        // A take at the heard end, with the verse leaving the device at 5 s:
        // its reaction time is within 20 ms of zero.
        TimingTable timing = TimingTable::parse(QStringLiteral("card\thalf\tends_ms\n41\t1\t%1\n")
                                                    .arg([&ends] {
                                                        QStringList parts;
                                                        for (qint64 end : ends)
                                                            parts.append(QString::number(end));
                                                        return parts.join(QLatin1Char(','));
                                                    }())
                                                    .toUtf8());
        // Card 41 (こいすちょう) against 42 (ちぎりきな) alone: こ decides it.
        DrillRounds rounds(KimarijiModel({{41, sounds}, {42, QStringLiteral("ちぎりきな")}}),
                           timing, DrillDeal {{41, 42}, {41, 42}, {}});
        rounds.verseStarted(41, 1, 5000, lead, speed);
        const std::optional<DrillRoundEnd> end = rounds.take(41, 5000 + burstEndMs(heard, 1));
        QVERIFY(end);
        QVERIFY(std::abs(*end->row.reactionMs) <= 20);
    }
};

QTEST_GUILESS_MAIN(TestDrillTiming)
#include "tst_drilltiming.moc"
