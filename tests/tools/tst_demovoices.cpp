#include "AudioOutput.h"
#include "FakeAudioDevice.h"
#include "FixtureAudio.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

// The demo voice generator (tools/make_demo_voices) and the poem data it
// reads: file names, playable and audible output recited at a reader's pace,
// the mora timing beside the verses, idempotence, recordings of the user left
// alone, and no partial file after an interrupted run. Open JTalk is slow:
// only the checks of the voice run it, on the preamble (both halves, both
// voices); the checks of the files run a stand-in (fake_open_jtalk).
class TestDemoVoices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // The checks of the files run while Open JTalk makes the voice for the
    // checks of the output (started by initTestCase).
    void poemData_hasEveryPoemWithReadings();
    void generator_rerunAndForeignFiles_leftAlone();
    void generator_interrupted_leavesNoPartialFile();
    void generator_badCardNumber_fails_data();
    void generator_badCardNumber_fails();
    void generator_makesNamedPlayableAudibleFiles();
    void generator_timingMatchesReadings();

private:
    struct Result
    {
        int exitCode = -1;
        QString output;
    };
    static QString generator();
    // Links the stand-in for Open JTalk into binDir as open_jtalk and sets env
    // to the environment with binDir first in the PATH and the stand-in for
    // the HTS engine's synthesis.
    static bool fakeSynthesizer(const QTemporaryDir &binDir, QProcessEnvironment *env);
    static Result
    runGenerator(const QString &appDir, const QStringList &cards,
                 const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
    static void startGenerator(QProcess *process, const QString &appDir, const QStringList &cards,
                               const QProcessEnvironment &env);
    static Result finishGenerator(QProcess *process);
    // Every file below dir (hidden ones too), relative paths.
    static QSet<QString> filesIn(const QString &dir);
    // "sox stat" values of an audio file: length in seconds, RMS amplitude.
    static bool audioStats(const QString &path, double *seconds, double *rms);
    // The rough frequency of the sound below 400 Hz, which follows the voice's
    // pitch (above, the consonants' noise outweighs it).
    static bool roughPitch(const QString &path, double *hertz);
    static bool soxStat(const QString &path, const QStringList &effects, QString *text);
    static bool statValue(const QString &text, const char *label, double *value);
    // The kana readings of data/poems.tsv: card -> {upper, lower}.
    static QHash<int, QStringList> readings();
    // The morae of a kana reading: blanks are none, a small ya/yu/yo or small
    // vowel joins the mora before it.
    static int morae(const QString &reading);

    QTemporaryDir made; // card 0, made once for the checks of the output
    QProcess making; // the generator making it
    AudioOutput audio; // the test's own, on the device below
    FakeAudioDevice *output = nullptr; // owned by audio
};

QString TestDemoVoices::generator()
{
    return QStringLiteral(QTUTAKAZE_SOURCE_DIR "/tools/make_demo_voices");
}

bool TestDemoVoices::fakeSynthesizer(const QTemporaryDir &binDir, QProcessEnvironment *env)
{
    *env = QProcessEnvironment::systemEnvironment();
    env->insert(QStringLiteral("PATH"),
                binDir.path() + QLatin1Char(':') + env->value(QStringLiteral("PATH")));
    env->insert(QStringLiteral("QTUTAKAZE_HTS_RECITE"),
                QStringLiteral(QTUTAKAZE_SOURCE_DIR "/tests/tools/fake_hts_recite"));
    return QFile::link(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/tests/tools/fake_open_jtalk"),
                       binDir.filePath(QStringLiteral("open_jtalk")));
}

TestDemoVoices::Result TestDemoVoices::runGenerator(const QString &appDir, const QStringList &cards,
                                                    const QProcessEnvironment &env)
{
    QProcess process;
    startGenerator(&process, appDir, cards, env);
    return finishGenerator(&process);
}

void TestDemoVoices::startGenerator(QProcess *process, const QString &appDir,
                                    const QStringList &cards, const QProcessEnvironment &env)
{
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(generator(), QStringList {appDir} + cards);
}

TestDemoVoices::Result TestDemoVoices::finishGenerator(QProcess *process)
{
    Result result;
    if (!process->waitForFinished(120000)) {
        process->kill();
        process->waitForFinished();
        return result;
    }
    result.output = QString::fromUtf8(process->readAll());
    result.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    return result;
}

QSet<QString> TestDemoVoices::filesIn(const QString &dir)
{
    QSet<QString> files;
    const QDir root(dir);
    const QStringList subdirs {QString(), QStringLiteral("Music"), QStringLiteral("Music2")};
    for (const QString &sub : subdirs) {
        const QDir d(root.filePath(sub));
        const auto entries = d.entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : entries)
            files.insert(sub.isEmpty() ? name : sub + QLatin1Char('/') + name);
    }
    return files;
}

bool TestDemoVoices::soxStat(const QString &path, const QStringList &effects, QString *text)
{
    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start(QStringLiteral("sox"),
              QStringList {path, QStringLiteral("-n")} + effects
                  + QStringList {QStringLiteral("stat")});
    if (!sox.waitForFinished(30000) || sox.exitCode() != 0)
        return false;
    *text = QString::fromUtf8(sox.readAll());
    return true;
}

bool TestDemoVoices::statValue(const QString &text, const char *label, double *value)
{
    const QRegularExpression re(QStringLiteral("^%1:\\s*(\\S+)").arg(QLatin1String(label)),
                                QRegularExpression::MultilineOption);
    const auto match = re.match(text);
    bool ok = false;
    *value = match.hasMatch() ? match.captured(1).toDouble(&ok) : 0.0;
    return ok;
}

bool TestDemoVoices::audioStats(const QString &path, double *seconds, double *rms)
{
    QString text;
    return soxStat(path, {}, &text) && statValue(text, "Length \\(seconds\\)", seconds)
        && statValue(text, "RMS\\s+amplitude", rms);
}

bool TestDemoVoices::roughPitch(const QString &path, double *hertz)
{
    QString text;
    return soxStat(path, {QStringLiteral("lowpass"), QStringLiteral("400")}, &text)
        && statValue(text, "Rough\\s+frequency", hertz);
}

QHash<int, QStringList> TestDemoVoices::readings()
{
    QHash<int, QStringList> byCard;
    QFile file(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/data/poems.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return byCard;
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines.mid(1)) {
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() == 5)
            byCard.insert(columns.at(0).toInt(), {columns.at(3), columns.at(4)});
    }
    return byCard;
}

int TestDemoVoices::morae(const QString &reading)
{
    static const QString small = QStringLiteral("ゃゅょぁぃぅぇぉゎャュョァィゥェォヮ");
    int n = 0;
    for (const QChar c : reading)
        n += c != QLatin1Char(' ') && !small.contains(c);
    return n;
}

void TestDemoVoices::initTestCase()
{
    const char *tools[] = {"open_jtalk", "oggenc", "sox", "flock", "python3", "cc"};
    for (const char *tool : tools) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed; the generator needs open-jtalk, "
                                            "open-jtalk-mecab-naist-jdic, libhtsengine-dev, gcc, "
                                            "python3-numpy, vorbis-tools and sox")
                                 .arg(QLatin1String(tool))));
    }
    QVERIFY2(QFileInfo(generator()).isExecutable(), qPrintable(generator()));
    // Verses play on an output the test pulls, as fast as it likes.
    auto device = std::make_unique<FakeAudioDevice>();
    output = device.get();
    audio.useDevice(std::move(device));
    audio.Init(0);
    QVERIFY(made.isValid());
    startGenerator(&making, made.path(), {QStringLiteral("0")},
                   QProcessEnvironment::systemEnvironment());
}

void TestDemoVoices::cleanupTestCase()
{
    if (making.state() != QProcess::NotRunning) {
        making.kill();
        making.waitForFinished();
    }
    audio.Free();
}

void TestDemoVoices::poemData_hasEveryPoemWithReadings()
{
    QFile file(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/data/poems.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("no\tkami\tshimo\tkami_reading\tshimo_reading"));
    QCOMPARE(lines.size(), 1 + 101);

    // The readings are what the speech synthesizer gets: kana phrases
    // separated by single blanks (it cannot read kanji).
    const QRegularExpression reading(
        QStringLiteral("^[\\x{3041}-\\x{309F}\\x{30A0}-\\x{30FF}]+"
                       "( [\\x{3041}-\\x{309F}\\x{30A0}-\\x{30FF}]+)*$"));
    for (int row = 0; row <= 100; ++row) {
        const QStringList columns = lines.at(row + 1).split(QLatin1Char('\t'));
        const QByteArray where = "row " + QByteArray::number(row);
        QVERIFY2(columns.size() == 5, where.constData());
        QVERIFY2(columns.at(0) == QString::number(row), where.constData());
        for (int c = 1; c < 5; ++c)
            QVERIFY2(!columns.at(c).trimmed().isEmpty(), where.constData());
        QVERIFY2(reading.match(columns.at(3)).hasMatch(), (where + " upper reading").constData());
        QVERIFY2(reading.match(columns.at(4)).hasMatch(), (where + " lower reading").constData());
    }
}

void TestDemoVoices::generator_makesNamedPlayableAudibleFiles()
{
    const QTemporaryDir &app = made;
    const Result result = finishGenerator(&making);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    QVERIFY2(result.output.count(QLatin1Char('\n')) <= 1, qPrintable(result.output));

    // 000_1 is the preamble's upper verse, which the competitive style reads.
    const QStringList verses {QStringLiteral("000_1"), QStringLiteral("000_2")};
    QSet<QString> expected {
        QStringLiteral("start.wav"),          QStringLiteral("before2min.wav"),
        QStringLiteral("fine.wav"),           QStringLiteral(".demo-voices"),
        QStringLiteral("Music/.demo-voices"), QStringLiteral("Music2/.demo-voices"),
        QStringLiteral("Music/timing.tsv"),   QStringLiteral("Music2/timing.tsv")};
    for (const QString &v : verses) {
        expected.insert(QStringLiteral("Music/rindou_%1.ogg").arg(v));
        expected.insert(QStringLiteral("Music2/asagao_%1.ogg").arg(v));
    }
    QCOMPARE(filesIn(app.path()), expected);

    double voice1Frequency = 0;
    double voice2Frequency = 0;
    for (const QString &v : verses) {
        for (const QString &name : {QStringLiteral("Music/rindou_%1.ogg").arg(v),
                                    QStringLiteral("Music2/asagao_%1.ogg").arg(v)}) {
            const QString path = app.filePath(name);
            double seconds = 0, rms = 0, frequency = 0;
            QVERIFY2(audioStats(path, &seconds, &rms) && roughPitch(path, &frequency),
                     qPrintable(name));
            // A recited verse of a few phrases, clearly audible: an upper
            // verse 5 to 7 s, a lower one longer by its held last sound.
            const bool upper = v.endsWith(QLatin1String("_1"));
            QVERIFY2(upper ? seconds > 4.8 && seconds < 7.2 : seconds > 5.0 && seconds < 10.0,
                     qPrintable(name + QLatin1Char(' ') + QString::number(seconds)));
            QVERIFY2(rms > 0.02, qPrintable(name + QString::number(rms)));
            (name.startsWith(QLatin1String("Music/")) ? voice1Frequency : voice2Frequency) +=
                frequency;

            const AudioOutput::Stream stream = audio.StreamCreateFile(path);
            QVERIFY2(stream != 0, qPrintable(name));
            audio.StreamFree(stream);
        }
    }
    // Voice 1 is the female one: higher pitched than voice 2 on the same verses.
    QVERIFY2(voice1Frequency > voice2Frequency,
             qPrintable(QStringLiteral("%1 %2").arg(voice1Frequency).arg(voice2Frequency)));

    // The engine plays a verse through to its end, which is the file's.
    const QString verse = app.filePath(QStringLiteral("Music/rindou_000_2.ogg"));
    double verseSeconds = 0, rms = 0;
    QVERIFY(audioStats(verse, &verseSeconds, &rms));
    const AudioOutput::Stream stream = audio.StreamCreateFile(verse);
    QVERIFY(audio.ChannelPlay(stream));
    QVERIFY(audio.ChannelIsActive(stream));
    const qint64 begin = audio.PlayedFrames();
    while (audio.ChannelIsActive(stream) && audio.PlayedFrames() - begin < 20 * AudioClip::Rate)
        output->pump(AudioClip::Rate / 100);
    QVERIFY(!audio.ChannelIsActive(stream));
    const double played = double(audio.PlayedFrames() - begin) / AudioClip::Rate;
    QVERIFY2(played >= verseSeconds - 0.05 && played <= verseSeconds + 0.1,
             qPrintable(QStringLiteral("%1 of %2 s").arg(played).arg(verseSeconds)));
    audio.StreamFree(stream);

    // The cues: short announcements, 44.1 kHz 16-bit.
    for (const QString &cue : {QStringLiteral("start.wav"), QStringLiteral("before2min.wav"),
                               QStringLiteral("fine.wav")}) {
        QFile wav(app.filePath(cue));
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray header = wav.read(44);
        QVERIFY2(header.startsWith("RIFF") && header.mid(8, 4) == "WAVE", qPrintable(cue));
        const auto le16 = [&header](int at) {
            return quint8(header.at(at)) | (quint8(header.at(at + 1)) << 8);
        };
        QCOMPARE(le16(24) | (le16(26) << 16), 44100);
        QCOMPARE(le16(34), 16);
        double seconds = 0, rms = 0;
        QVERIFY2(audioStats(app.filePath(cue), &seconds, &rms), qPrintable(cue));
        QVERIFY2(seconds > 1.0 && seconds < 8.0, qPrintable(cue + QString::number(seconds)));
        QVERIFY2(rms > 0.02, qPrintable(cue));
    }
}

void TestDemoVoices::generator_timingMatchesReadings()
{
    // Uses the folder made by the test before.
    const QHash<int, QStringList> poems = readings();
    QCOMPARE(poems.size(), 101);
    const QRegularExpression verseName(QStringLiteral("^(rindou|asagao)_(\\d{3})_([12])\\.ogg$"));
    for (const QString &folder : {QStringLiteral("Music"), QStringLiteral("Music2")}) {
        QFile file(made.filePath(folder + QStringLiteral("/timing.tsv")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(folder));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("card\thalf\tends_ms"));

        QSet<QString> rows;
        for (const QString &line : lines.mid(1)) {
            const QStringList columns = line.split(QLatin1Char('\t'));
            QVERIFY2(columns.size() == 3, qPrintable(line));
            const int card = columns.at(0).toInt();
            const int half = columns.at(1).toInt();
            QVERIFY2(poems.contains(card) && (half == 1 || half == 2), qPrintable(line));
            const QString where = QStringLiteral("%1 %2_%3").arg(folder).arg(card).arg(half);
            rows.insert(QString::asprintf("%03d_%d", card, half));

            // One end per mora of the reading, increasing, the last within the file.
            const QStringList ends = columns.at(2).split(QLatin1Char(','));
            QCOMPARE(ends.size(), morae(poems.value(card).at(half - 1)));
            int previous = 0;
            for (const QString &end : ends) {
                bool ok = false;
                const int ms = end.toInt(&ok);
                QVERIFY2(ok && ms > previous, qPrintable(where + QLatin1Char(' ') + columns.at(2)));
                previous = ms;
            }
            const QString audio =
                made.filePath(QStringLiteral("%1/%2_%3.ogg")
                                  .arg(folder,
                                       folder == QLatin1String("Music") ? QStringLiteral("rindou")
                                                                        : QStringLiteral("asagao"),
                                       QString::asprintf("%03d_%d", card, half)));
            double seconds = 0, rms = 0;
            QVERIFY2(audioStats(audio, &seconds, &rms), qPrintable(audio));
            QVERIFY2(previous <= seconds * 1000, qPrintable(where));
            // The last sound is drawn out; a lower verse's is held about 3 s.
            const int last = previous - ends.at(ends.size() - 2).toInt();
            QVERIFY2(half == 1 ? last >= 400 : last >= 2500 && last <= 3500,
                     qPrintable(where + QStringLiteral(": last mora %1 ms").arg(last)));
        }
        // A row for every verse file, and no other.
        QSet<QString> files;
        const QStringList names = QDir(made.filePath(folder)).entryList(QDir::Files);
        for (const QString &name : names) {
            const auto match = verseName.match(name);
            if (match.hasMatch())
                files.insert(match.captured(2) + QLatin1Char('_') + match.captured(3));
        }
        QCOMPARE(rows, files);
        QCOMPARE(rows.size(), 2);
    }

    // The recitation's figures, measured as the package stage does: no fault,
    // one loudness, a calm pitch, a steady held tail.
    QProcess measure;
    measure.start(
        QStringLiteral(QTUTAKAZE_SOURCE_DIR "/tools/measure_voice"),
        {made.filePath(QStringLiteral("Music")), made.filePath(QStringLiteral("Music2"))});
    QVERIFY(measure.waitForFinished(120000));
    const QString figures = QString::fromUtf8(measure.readAllStandardOutput());
    QVERIFY2(measure.exitStatus() == QProcess::NormalExit && measure.exitCode() == 0,
             qPrintable(figures));
    // "name   min / median / max" of both voices.
    const auto spreads = [&figures](const QString &name) {
        QList<QList<double>> found;
        const QRegularExpression line(QStringLiteral("^\\s+%1\\s+(\\S+) / (\\S+) / (\\S+)$")
                                          .arg(QRegularExpression::escape(name)),
                                      QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(figures); it.hasNext();) {
            const auto match = it.next();
            found.append({match.captured(1).toDouble(), match.captured(2).toDouble(),
                          match.captured(3).toDouble()});
        }
        return found;
    };
    const auto loudness = spreads(QStringLiteral("loudness (LUFS)"));
    const auto steps = spreads(QStringLiteral("pitch step between morae (semitones)"));
    const auto tail = spreads(QStringLiteral("held tail pitch movement (semitones)"));
    QVERIFY2(loudness.size() == 2 && steps.size() == 2 && tail.size() == 2, qPrintable(figures));
    for (int voice = 0; voice < 2; ++voice) {
        QVERIFY2(loudness[voice][0] >= -21 && loudness[voice][2] <= -19, qPrintable(figures));
        QVERIFY2(steps[voice][1] <= 1.5, qPrintable(figures));
        QVERIFY2(tail[voice][2] <= 0.3, qPrintable(figures));
    }
}

void TestDemoVoices::generator_rerunAndForeignFiles_leftAlone()
{
    QTemporaryDir app;
    QTemporaryDir fakeBin;
    QVERIFY(app.isValid() && fakeBin.isValid());
    QProcessEnvironment env;
    QVERIFY(fakeSynthesizer(fakeBin, &env));
    // Recordings and a cue the user put there before the first run.
    QVERIFY(QDir(app.path()).mkpath(QStringLiteral("Music")));
    const QString real = app.filePath(QStringLiteral("Music/rindou_001_1.ogg"));
    QVERIFY(FixtureAudio::MakeOggTone(real, 440, 0.5));
    const QString realCue = app.filePath(QStringLiteral("fine.wav"));
    QVERIFY(FixtureAudio::MakeWavTone(realCue, 880, 0.3));
    auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray realBytes = contents(real);
    const QByteArray realCueBytes = contents(realCue);

    Result result = runGenerator(app.path(), {QStringLiteral("1")}, env);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    QCOMPARE(contents(real), realBytes);
    QCOMPARE(contents(realCue), realCueBytes);
    QVERIFY(QFileInfo::exists(app.filePath(QStringLiteral("Music/rindou_001_2.ogg"))));
    QVERIFY(QFileInfo::exists(app.filePath(QStringLiteral("Music2/asagao_001_1.ogg"))));

    // The list of synthetic files names only what the generator made.
    const QStringList listed =
        QString::fromUtf8(contents(app.filePath(QStringLiteral("Music/.demo-voices"))))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(listed, QStringList {QStringLiteral("rindou_001_2.ogg")});
    // So does the timing: the user's recording has no row.
    const QStringList timing =
        QString::fromUtf8(contents(app.filePath(QStringLiteral("Music/timing.tsv"))))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(timing.size(), 2);
    QVERIFY2(timing.at(1).startsWith(QLatin1String("1\t2\t")), qPrintable(timing.at(1)));
    QVERIFY(!contents(app.filePath(QStringLiteral(".demo-voices"))).contains("fine.wav"));

    // A second run finds everything in place: it changes nothing and says nothing.
    QHash<QString, QPair<QDateTime, QByteArray>> before;
    const auto files = filesIn(app.path());
    for (const QString &name : files) {
        const QString path = app.filePath(name);
        before.insert(name, {QFileInfo(path).lastModified(), contents(path)});
    }
    result = runGenerator(app.path(), {QStringLiteral("1")}, env);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    QCOMPARE(result.output, QString());
    QCOMPARE(filesIn(app.path()), files);
    for (const QString &name : files) {
        const QString path = app.filePath(name);
        QVERIFY2(QFileInfo(path).lastModified() == before.value(name).first, qPrintable(name));
        QVERIFY2(contents(path) == before.value(name).second, qPrintable(name));
    }
}

void TestDemoVoices::generator_interrupted_leavesNoPartialFile()
{
    QTemporaryDir app;
    QTemporaryDir fakeBin;
    QVERIFY(app.isValid() && fakeBin.isValid());

    // An encoder that writes part of its output and then hangs, as if the
    // machine were switched off in the middle of a file.
    const QString fakeEncoder = fakeBin.filePath(QStringLiteral("oggenc"));
    {
        QFile script(fakeEncoder);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "while [ $# -gt 1 ]; do [ \"$1\" = -o ] && out=$2; shift; done\n"
                     "cat >/dev/null\n"
                     "printf 'OggS partial' >\"$out\"\n"
                     "exec sleep 60\n");
    }
    QVERIFY(
        QFile::setPermissions(fakeEncoder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // Cues there already are left alone: the runs make verses only.
    for (const char *cue : {"start.wav", "before2min.wav", "fine.wav"}) {
        QFile file(app.filePath(QLatin1String(cue)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QProcessEnvironment env;
    QVERIFY(fakeSynthesizer(fakeBin, &env));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so that the whole run can be killed at once.
    process.setChildProcessModifier([] { ::setsid(); });
    process.start(generator(), {app.path(), QStringLiteral("100")});
    QVERIFY(process.waitForStarted());

    auto partialFiles = [&app] {
        int n = 0;
        const auto files = filesIn(app.path());
        for (const QString &name : files)
            n += QFileInfo(app.filePath(name)).size() == qint64(sizeof("OggS partial") - 1);
        return n;
    };
    QTRY_VERIFY_WITH_TIMEOUT(partialFiles() > 0, 30000);
    ::kill(-pid_t(process.processId()), SIGKILL);
    QVERIFY(process.waitForFinished());

    // No verse file by its real name: only hidden leftovers may remain.
    const QRegularExpression verseName(QStringLiteral("(rindou|asagao)_\\d{3}_\\d\\.ogg$"));
    const auto afterKill = filesIn(app.path());
    for (const QString &name : afterKill) {
        if (name.endsWith(QLatin1String(".ogg")))
            QVERIFY2(!verseName.match(name).hasMatch(), qPrintable(name));
    }

    // A run with the real encoder completes the folder and clears the leftovers.
    QVERIFY(QFile::remove(fakeEncoder));
    const Result result = runGenerator(app.path(), {QStringLiteral("100")}, env);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    QCOMPARE(partialFiles(), 0);
    const auto files = filesIn(app.path());
    int verses = 0;
    for (const QString &name : files) {
        QVERIFY2(!QFileInfo(name).fileName().startsWith(QLatin1String(".demo-tmp")),
                 qPrintable(name));
        if (verseName.match(name).hasMatch()) {
            ++verses;
            const AudioOutput::Stream stream = audio.StreamCreateFile(app.filePath(name));
            QVERIFY2(stream != 0, qPrintable(name));
            audio.StreamFree(stream);
        }
    }
    QCOMPARE(verses, 4);
    // The last card's names are as wide as any: three digits.
    QVERIFY(files.contains(QStringLiteral("Music/rindou_100_1.ogg")));
    QVERIFY(files.contains(QStringLiteral("Music2/asagao_100_2.ogg")));
}

void TestDemoVoices::generator_badCardNumber_fails_data()
{
    QTest::addColumn<QString>("card");
    QTest::newRow("above 100") << QStringLiteral("101");
    QTest::newRow("negative") << QStringLiteral("-1");
    QTest::newRow("not a number") << QStringLiteral("7; touch x");
}

void TestDemoVoices::generator_badCardNumber_fails()
{
    QFETCH(QString, card);
    QTemporaryDir app;
    QVERIFY(app.isValid());
    const Result result = runGenerator(app.path(), {QStringLiteral("1"), card});
    QVERIFY(result.exitCode != 0);
    QVERIFY2(result.output.contains(QLatin1String("not a card number")), qPrintable(result.output));
    QCOMPARE(filesIn(app.path()), QSet<QString>());
}

QTEST_GUILESS_MAIN(TestDemoVoices)
#include "tst_demovoices.moc"
