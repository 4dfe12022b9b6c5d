#include "AudioDecoder.h"
#include "AudioMixer.h"
#include "AudioOutput.h"
#include "FakeAudioDevice.h"
#include "FixtureAudio.h"
#include "RecordingFile.h"
#include "WakeSignal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

namespace {

// A clip of `frames` frames, every sample `value`.
std::shared_ptr<const AudioClip> constantClip(qint64 frames, float value)
{
    auto clip = std::make_shared<AudioClip>();
    clip->samples.assign(static_cast<size_t>(frames * AudioClip::Channels), value);
    return clip;
}

// Index of the first and one past the last sample that is not silent.
std::pair<qsizetype, qsizetype> soundingRange(const std::vector<float> &heard)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < qsizetype(heard.size()); ++i) {
        if (heard[size_t(i)] != 0.0f) {
            if (first < 0)
                first = i;
            last = i + 1;
        }
    }
    return {first, last};
}

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

class TestAudioMixer : public QObject
{
    Q_OBJECT

private slots:
    void verse_soundsFromItsFrameToItsEnd();
    void verse_afterGap_silenceIsExact_whateverTheBuffer_data();
    void verse_afterGap_silenceIsExact_whateverTheBuffer();
    void verse_stopAndReplace();
    void cues_mixOverVerse_volumeOnlyOnVerse();
    void rewriter_changeWrittenAgainFromWhatHasNotSounded();
    void render_neverWaits_whileVersesAreHandedOver();
    void clock_anchoredByTheDevice();
    void decoder_everyFormat_data();
    void decoder_everyFormat();
    void decoder_refusesWhatIsNoRegularFile();
    void recording_firstExistingFormat();
    void output_slowServer_neverHoldsUpTheCaller();
    void output_twoOutputs_shareNothing();
    void output_heldBack_opensAfterTheWindowOrOnStart();
    // Last: it ends the process's output for good.
    void shutdown_closesBesideTheCaller_andForGood();
};

void TestAudioMixer::verse_soundsFromItsFrameToItsEnd()
{
    AudioMixer mixer;
    FakeAudioDevice device;
    QVERIFY(device.open(&mixer));
    // An alarm on the verse's first frame wakes once that frame is rendered.
    WakeSignal signal;
    const int alarm = mixer.addAlarm(&signal);
    QVERIFY(alarm >= 0);
    mixer.setAlarm(alarm, 300);
    const AudioMixer::VerseId id = mixer.playVerse(constantClip(1000, 0.5f), 300);
    QVERIFY(mixer.verseActive(id));
    device.pump(256);
    QCOMPARE(soundingRange(device.heard).first, -1); // silent so far
    QElapsedTimer waited;
    waited.start();
    signal.wait(200);
    QVERIFY(waited.elapsed() >= 150);
    device.pump(256);
    QCOMPARE(soundingRange(device.heard).first, 300);
    waited.start();
    signal.wait(5000);
    QVERIFY(waited.elapsed() < 1000);
    mixer.removeAlarm(alarm);
    device.pump(1024); // up to frame 1536: ended at 1300
    QVERIFY(!mixer.verseActive(id));
    QCOMPARE(mixer.renderedFrames(), 1536);
    QCOMPARE(soundingRange(device.heard), (std::pair<qsizetype, qsizetype>(300, 1300)));

    // A frame already played means at once: the next buffer.
    mixer.playVerse(constantClip(10, 0.5f), 0);
    device.pump(64);
    QCOMPARE(device.heard.at(1536), 0.5f);
}

void TestAudioMixer::verse_afterGap_silenceIsExact_whateverTheBuffer_data()
{
    QTest::addColumn<int>("buffer");
    QTest::newRow("46 ms") << 2048;
    QTest::newRow("93 ms") << 4096;
    QTest::newRow("odd size") << 1000;
}

// The reading places each verse a pause after the end of the previous one,
// whenever the device's buffers fall.
void TestAudioMixer::verse_afterGap_silenceIsExact_whateverTheBuffer()
{
    QFETCH(int, buffer);
    AudioMixer mixer;
    FakeAudioDevice device;
    device.open(&mixer);
    const qint64 gap = AudioClip::Rate * 12 / 10; // W = 1 s plus 0.2 s
    qint64 start = 0;
    mixer.playVerse(constantClip(5000, 0.25f), start);
    for (int verse = 0; verse < 3; ++verse) {
        while (mixer.anyVerseActive())
            device.pump(buffer);
        start += 5000 + gap; // a pause after the previous verse's last frame
        mixer.playVerse(constantClip(5000, 0.25f), start);
    }
    while (mixer.anyVerseActive())
        device.pump(buffer);
    // Every silence between two verses is the gap, to the frame.
    QList<qint64> silences;
    qint64 lastSound = -1;
    for (qint64 i = 0; i < qint64(device.heard.size()); ++i) {
        if (device.heard[size_t(i)] != 0.0f) {
            if (lastSound >= 0 && i - lastSound > 1)
                silences.append(i - lastSound - 1);
            lastSound = i;
        }
    }
    QCOMPARE(silences, (QList<qint64> {gap, gap, gap}));
}

void TestAudioMixer::verse_stopAndReplace()
{
    AudioMixer mixer;
    FakeAudioDevice device;
    device.open(&mixer);
    const AudioMixer::VerseId first = mixer.playVerse(constantClip(10000, 0.5f), 0);
    device.pump(100);
    mixer.stopVerse(first + 1); // another verse: no effect
    QVERIFY(mixer.verseActive(first));
    const AudioMixer::VerseId second = mixer.playVerse(constantClip(50, 0.25f), 0);
    QVERIFY(!mixer.verseActive(first));
    device.pump(100);
    QCOMPARE(device.heard.at(100), 0.25f);
    QCOMPARE(device.heard.at(150), 0.0f);
    mixer.playVerse(constantClip(1000, 0.5f), 0);
    mixer.stopVerse();
    QVERIFY(!mixer.anyVerseActive());
    device.pump(100);
    QCOMPARE(soundingRange(device.heard).second, 150);
    QVERIFY(second != first);
}

void TestAudioMixer::cues_mixOverVerse_volumeOnlyOnVerse()
{
    AudioMixer mixer;
    FakeAudioDevice device;
    device.open(&mixer);
    mixer.setVolume(0.5f);
    mixer.playVerse(constantClip(100, 0.5f), 0);
    QVERIFY(mixer.addCue(constantClip(50, 0.125f)));
    device.pump(200);
    QCOMPARE(device.heard.at(0), 0.25f + 0.125f);
    QCOMPARE(device.heard.at(60), 0.25f);
    QCOMPARE(device.heard.at(150), 0.0f);
    // No more than MaxCues at once; finished ones make room again.
    int accepted = 0;
    for (int i = 0; i < AudioMixer::MaxCues + 3; ++i)
        accepted += mixer.addCue(constantClip(10, 0.01f)) ? 1 : 0;
    QCOMPARE(accepted, AudioMixer::MaxCues);
    device.pump(20);
    QVERIFY(mixer.addCue(constantClip(10, 0.01f)));
}

namespace {
// A device that holds what it rendered ahead, like a sound server's buffer:
// `heard` is the stream by frame, written again where a change rewrites it.
class HoldingDevice : public AudioMixer::Rewriter
{
public:
    explicit HoldingDevice(AudioMixer &mixer)
        : mixer(mixer)
    {
        mixer.setRewriter(this);
    }
    ~HoldingDevice() override { mixer.setRewriter(nullptr); }
    void renderAhead(qint64 frames) { writeAt(mixer.renderedFrames(), frames); }

    void lock() override { ++locks; }
    void unlock() override { --locks; }
    qint64 earliestFrame() override { return sounding; }
    void rewrite(qint64 from) override
    {
        QCOMPARE(locks, 1); // inside the change, so no render runs beside it
        const qint64 end = mixer.renderedFrames();
        mixer.rewindTo(from);
        writeAt(from, end - from);
    }

    std::vector<float> heard; // left channel, one sample a frame
    qint64 sounding = 0;
    int locks = 0;

private:
    void writeAt(qint64 from, qint64 frames)
    {
        std::vector<float> out(size_t(frames) * AudioClip::Channels);
        mixer.render(out.data(), int(frames));
        heard.resize(std::max(heard.size(), size_t(from + frames)));
        for (qint64 f = 0; f < frames; ++f)
            heard[size_t(from + f)] = out[size_t(f) * AudioClip::Channels];
    }
    AudioMixer &mixer;
};
} // namespace

void TestAudioMixer::rewriter_changeWrittenAgainFromWhatHasNotSounded()
{
    AudioMixer mixer;
    HoldingDevice device(mixer);
    device.renderAhead(1000);
    device.sounding = 200;
    // At once means at the first frame not yet heard, not after what is held.
    const AudioMixer::VerseId id = mixer.playVerse(constantClip(300, 0.5f), 0);
    QCOMPARE(mixer.verseStart(id), qint64(200));
    QCOMPARE(mixer.renderedFrames(), qint64(1000)); // the held frames written again
    QCOMPARE(soundingRange(device.heard), std::make_pair(qsizetype(200), qsizetype(500)));
    // A cue over it: the verse comes out again exactly, the cue added.
    device.sounding = 300;
    QVERIFY(mixer.addCue(constantClip(50, 0.25f)));
    QCOMPARE(device.heard[299], 0.5f);
    QCOMPARE(device.heard[300], 0.75f);
    QCOMPARE(device.heard[350], 0.5f);
    QCOMPARE(soundingRange(device.heard), std::make_pair(qsizetype(200), qsizetype(500)));
    // A verse placed beyond what is held is not written early; a stop
    // silences what is held and not yet heard.
    const AudioMixer::VerseId later = mixer.playVerse(constantClip(100, 0.5f), 1500);
    QCOMPARE(mixer.verseStart(later), qint64(1500));
    device.renderAhead(1000);
    const auto heardAfter = [&device](qsizetype from) {
        const auto range = soundingRange({device.heard.begin() + from, device.heard.end()});
        return std::make_pair(range.first + from, range.second + from);
    };
    QCOMPARE(heardAfter(500), std::make_pair(qsizetype(1500), qsizetype(1600)));
    device.sounding = 1550;
    mixer.stopVerse(later);
    QCOMPARE(heardAfter(500), std::make_pair(qsizetype(1500), qsizetype(1550)));
    QCOMPARE(device.locks, 0);
}

void TestAudioMixer::render_neverWaits_whileVersesAreHandedOver()
{
    // The audio thread renders while another thread keeps replacing the
    // verse and adding cues (ThreadSanitizer checks the hand-over); every
    // sample is a sum of verses' and cues' samples, never a freed clip's.
    AudioMixer mixer;
    std::atomic_bool done {false};
    std::atomic_int bad {0};
    std::thread audio([&] {
        std::vector<float> out(256 * AudioClip::Channels);
        while (!done) {
            mixer.render(out.data(), 256);
            for (float v : out)
                bad += v * 4.0f != std::round(v * 4.0f); // verse 0.5, cues 0.25 each
        }
    });
    for (int i = 0; i < 2000; ++i) {
        mixer.playVerse(constantClip(100 + i % 300, 0.5f), 0);
        if (i % 50 == 0)
            mixer.addCue(constantClip(64, 0.25f));
        QCOMPARE(mixer.msUntilFrame(0) <= 0, true);
    }
    mixer.stopAll();
    done = true;
    audio.join();
    QCOMPARE(bad.load(), 0);
}

void TestAudioMixer::clock_anchoredByTheDevice()
{
    AudioMixer mixer;
    mixer.setDeviceKeepsAnchor(true);
    const auto now = std::chrono::steady_clock::now();
    mixer.setClockAnchor(44100, now);
    std::vector<float> out(4096 * AudioClip::Channels);
    mixer.render(out.data(), 4096); // rendering does not move the anchor
    QVERIFY(qAbs(mixer.msUntilFrame(44100 + 4410) - 100) <= 2);
    QVERIFY(qAbs(mixer.msUntilFrame(0) + 1000) <= 2);
}

void TestAudioMixer::decoder_everyFormat_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("encoder"); // the command turning tone.wav into the file
    QTest::newRow("ogg") << "ogg"
                         << "oggenc -Q -o %2 %1";
    QTest::newRow("opus (48 kHz)") << "opus"
                                   << "opusenc --quiet %1 %2";
    QTest::newRow("flac") << "flac"
                          << "flac -s -o %2 %1";
    QTest::newRow("mp3") << "mp3"
                         << "lame --quiet %1 %2";
    QTest::newRow("wav 22 kHz mono") << "wav"
                                     << "sox %1 -r 22050 %2";
}

void TestAudioMixer::decoder_everyFormat()
{
    QFETCH(QString, extension);
    QFETCH(QString, encoder);
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(FixtureAudio::MakeWavTone(wav, 440, 1.0));
    const QString path = dir.filePath(QStringLiteral("verse.") + extension);
    QStringList command = encoder.arg(wav, path).split(QLatin1Char(' '));
    const QString program = command.takeFirst();
    if (QStandardPaths::findExecutable(program).isEmpty())
        QSKIP(qPrintable(program + QStringLiteral(" is not installed")));
    QVERIFY(run(program, command));

    const std::shared_ptr<AudioClip> clip = AudioDecoder::decodeFile(path);
    QVERIFY(clip);
    // One second at 44.1 kHz, give or take the encoders' padding.
    QVERIFY2(qAbs(clip->frames() - AudioClip::Rate) < 3000,
             qPrintable(QString::number(clip->frames())));
    float peak = 0;
    for (float sample : clip->samples)
        peak = std::max(peak, std::abs(sample));
    QVERIFY2(peak > 0.4f && peak < 0.6f, qPrintable(QString::number(peak))); // the tone's 0.5
}

void TestAudioMixer::decoder_refusesWhatIsNoRegularFile()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.ogg"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!AudioDecoder::decodeFile(fifo)); // nobody writes: an open would block for good
    QVERIFY(!AudioDecoder::decodeFile(dir.path()));
    QVERIFY(!AudioDecoder::decodeFile(QStringLiteral("/dev/zero")));
    QVERIFY(!AudioDecoder::decodeFile(dir.filePath(QStringLiteral("absent.ogg"))));
    QVERIFY(clock.elapsed() < 1000);
}

void TestAudioMixer::recording_firstExistingFormat()
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("rindou_007_1"));
    QCOMPARE(resolveRecording(base), base + QStringLiteral(".ogg")); // none: the Ogg name
    for (const char *extension : {".wav", ".flac"}) {
        QFile file(base + QLatin1String(extension));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("rindou_007_1.opus"))); // a folder does not count
    QCOMPARE(resolveRecording(base), base + QStringLiteral(".flac"));
}

void TestAudioMixer::output_slowServer_neverHoldsUpTheCaller()
{
    // A sound server that takes 800 ms to answer each open, the first of
    // them failing (no server yet).
    struct SlowOpeningDevice : FakeAudioDevice
    {
        bool open(AudioMixer *target) override
        {
            QThread::msleep(800);
            return attempts.fetch_add(1) > 0 && FakeAudioDevice::open(target);
        }
        std::atomic_int attempts {0};
    };
    AudioOutput output([] { return std::make_unique<SlowOpeningDevice>(); });
    QElapsedTimer clock;
    clock.start();
    output.Init(0); // start-up: waits half a second, then goes on
    QVERIFY(clock.elapsed() < 700);
    QVERIFY(!output.IsOpen());
    QTest::qWait(400); // the first attempt has failed meanwhile
    clock.restart();
    QVERIFY(!output.Reopen()); // Start: 40 ms at most
    QVERIFY(clock.elapsed() < 200);
    clock.restart();
    output.PlayCue(QStringLiteral("absent.wav")); // its opening waits on a worker
    QVERIFY(clock.elapsed() < 200);
    QTRY_VERIFY_WITH_TIMEOUT(output.IsOpen(), 3000); // the retry opened it
    output.Free();
}

void TestAudioMixer::output_twoOutputs_shareNothing()
{
    // A window's output and a test's: each opens its own device and keeps
    // its own clock, streams and volume.
    FakeAudioDevice *firstDevice = nullptr;
    FakeAudioDevice *secondDevice = nullptr;
    const auto maker = [](FakeAudioDevice **made) {
        return [made] {
            auto device = std::make_unique<FakeAudioDevice>();
            *made = device.get();
            return device;
        };
    };
    AudioOutput first(maker(&firstDevice));
    AudioOutput second(maker(&secondDevice));
    first.Init(0);
    second.Init(0);
    QVERIFY(first.IsOpen() && second.IsOpen());
    QVERIFY(firstDevice && secondDevice && firstDevice != secondDevice);
    first.SetVolume(0.25f);
    QCOMPARE(second.GetVolume(), 1.0f);
    const AudioOutput::Stream stream = first.StreamCreateClip(constantClip(100, 0.5f));
    QVERIFY(first.ChannelPlay(stream));
    QVERIFY(first.IsMusicPlaying() && !second.IsMusicPlaying());
    QVERIFY(!second.ChannelIsActive(stream));
    firstDevice->pump(200);
    QCOMPARE(first.PlayedFrames(), qint64(200));
    QCOMPARE(second.PlayedFrames(), qint64(0));
    QVERIFY(!first.ChannelIsActive(stream));
    first.Free();
    QVERIFY(!first.IsOpen() && second.IsOpen());
    second.Free();
}

void TestAudioMixer::output_heldBack_opensAfterTheWindowOrOnStart()
{
    // At start the window shows before the device opens: Init() and a
    // device switch wait for openHeldBack(); a Start does not wait for it.
    std::atomic_int opens {0};
    const auto counting = [&opens] {
        struct CountingDevice : FakeAudioDevice
        {
            explicit CountingDevice(std::atomic_int &count) : count(count) {}
            bool open(AudioMixer *target) override
            {
                ++count;
                return FakeAudioDevice::open(target);
            }
            std::atomic_int &count;
        };
        return std::make_unique<CountingDevice>(opens);
    };
    {
        AudioOutput output(counting);
        output.holdBackOpening();
        output.Init(0);
        output.useDevice(counting());
        QVERIFY(!output.IsOpen() && output.isOpeningHeldBack());
        QCOMPARE(opens.load(), 0);
        output.openHeldBack();
        QVERIFY(output.IsOpen() && !output.isOpeningHeldBack());
        output.openHeldBack(); // once only
        QCOMPARE(opens.load(), 1);
        output.Free();
    }
    {
        AudioOutput output(counting);
        output.holdBackOpening();
        output.Init(0);
        QTRY_VERIFY_WITH_TIMEOUT(output.Reopen(), 2000); // Start before the window asked
        output.openHeldBack();
        QCOMPARE(opens.load(), 2);
        output.Free();
    }
}

void TestAudioMixer::shutdown_closesBesideTheCaller_andForGood()
{
    // Closes as slowly as SDL does (it plays out two buffers first).
    struct SlowClosingDevice : FakeAudioDevice
    {
        explicit SlowClosingDevice(std::atomic_bool *closedFlag)
            : closed(closedFlag)
        {
        }
        void close() override
        {
            if (!isOpen())
                return;
            QThread::msleep(300);
            FakeAudioDevice::close();
            closed->store(true);
        }
        std::atomic_bool *closed;
    };
    std::atomic_bool closed {false};
    AudioOutput output([&closed] { return std::make_unique<SlowClosingDevice>(&closed); });
    output.Init(0);
    QVERIFY(output.IsOpen());
    const AudioOutput::Stream stream = output.StreamCreateClip(constantClip(100, 0.5f));
    QVERIFY(output.ChannelPlay(stream));

    QElapsedTimer clock;
    clock.start();
    {
        const AudioOutputShutdown shutdown(output);
        QVERIFY(clock.elapsed() < 150); // the close runs beside the caller
        QVERIFY(!output.IsOpen());
        QVERIFY(!output.ChannelIsActive(stream));
        QVERIFY(!output.Reopen());
        output.PlayCue(QStringLiteral("absent.wav"));
        QVERIFY(!output.IsOpen());
        output.Free();
        QVERIFY(!closed);
    }
    QVERIFY(closed); // waited for at the end of the scope
    output.Init(0);
    QVERIFY(!output.IsOpen()); // never opened again
    output.Free();
}

QTEST_GUILESS_MAIN(TestAudioMixer)
#include "tst_audiomixer.moc"
