#include "CheckReaderCommand.h"
#include "ImportProgress.h"
#include "ImportReaderCommand.h"
#include "ReaderCheck.h"
#include "ReaderImportJob.h"
#include "ReaderImporter.h"
#include "ReaderLibrary.h"
#include "ReaderShelf.h"
#include "ScopedAppFolder.h"
#include "TestData.h"
#include "TimingFit.h"
#include "VerseMeasure.h"
#include "Voices.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <archive.h>
#include <archive_entry.h>

#include <cmath>

#include <csignal>
#include <sys/resource.h>

// An entry of a test archive.
struct ZipEntry
{
    QByteArray path;
    QByteArray data;
    int type = AE_IFREG;
    QByteArray linkTarget;
    qint64 zeroBytes = 0; // data made of this many zero bytes instead
    bool sizeInHeader = true;

    static ZipEntry file(const QByteArray &path, const QByteArray &data)
    {
        return {path, data, AE_IFREG, {}, 0, true};
    }
    static ZipEntry folder(const QByteArray &path) { return {path, {}, AE_IFDIR, {}, 0, true}; }
    static ZipEntry link(const QByteArray &path, const QByteArray &target)
    {
        return {path, {}, AE_IFLNK, target, 0, true};
    }
    static ZipEntry zeros(const QByteArray &path, qint64 bytes, bool sizeInHeader)
    {
        return {path, {}, AE_IFREG, {}, bytes, sizeInHeader};
    }
};
Q_DECLARE_METATYPE(ZipEntry)

using namespace TestData;

// The reader library: finding a reader's verse files by name, checking them
// (the report and the command's exit status), importing from folders and
// archives good, incomplete, corrupt and hostile, and the reader in use
// that the reading thread's file look-up follows.
class TestReaders : public QObject
{
    Q_OBJECT

private slots:
    void scan_keepsOnePrefixInPlayOrder();
    void measure_leadingSilenceAndHeldTail();
    void check_reportsProblemsAndExitStatus();
    void import_folder_goodIncompleteAndExisting();
    void import_zip_good();
    void import_zip_refused_data();
    void import_zip_refused();
    void library_readerInUse_voicesFollow();
    void staged_checkedBeforeReplace_cancelLeavesNothing();
    void import_shortWrite_refusedWithNothingLeft();
    void zip_limitsAndOnlyTheChosenPrefix();
    void timing_keptOnlyWhenItFits();
    void pattern_namesVersesAndPreviews();
    void shelf_detailsRenameDelete_andImportCommand();
    void job_askedAfterCheck_cancelled_readerInUseKeptDuringReading();

private:
    // A 16-bit mono WAV at the output's rate (nothing to resample, which is slow
    // for hundreds of files): silence, then a tone of the given amplitude.
    static bool writeWav(const QString &path, double silence, double tone, double amplitude = 0.5);
    static QByteArray wav(double silence, double tone, double amplitude = 0.5);
    // How long a reader's verses are. Measured ones (0.45 s) are long enough
    // for a loudness; the others (0.2 s) make the tests about files, names and
    // importing quicker, as every import decodes and measures every verse.
    enum class Verses { Measured, Short };
    // A reader folder with every verse (the preamble's upper one too when asked).
    static bool writeReader(const QString &folder, const QString &prefix, bool preambleUpper,
                            Verses verses = Verses::Measured);
    static bool writeZip(const QString &path, const QList<ZipEntry> &entries);
    static QStringList leftovers(const QString &root);
    // Three cards' upper verses: the import job's rules do not depend on the count.
    static bool writeSmallReader(const QString &folder, const char *prefix);
};

bool TestReaders::writeWav(const QString &path, double silence, double tone, double amplitude)
{
    return writeFile(path, wav(silence, tone, amplitude));
}

QByteArray TestReaders::wav(double silence, double tone, double amplitude)
{
    constexpr int Rate = 44100;
    const int silent = int(silence * Rate);
    const int total = silent + int(tone * Rate);
    QByteArray samples(qsizetype(total) * 2, '\0');
    for (int i = silent; i < total; ++i) {
        const auto s = quint16(qint16(amplitude * std::sin(2 * M_PI * 440 * i / Rate) * 32767));
        samples[2 * i] = char(s & 0xff);
        samples[2 * i + 1] = char(s >> 8);
    }
    QByteArray wav("RIFF");
    auto le32 = [&wav](quint32 v) {
        for (int i = 0; i < 4; ++i)
            wav.append(char((v >> (8 * i)) & 0xff));
    };
    auto le16 = [&wav](quint16 v) { wav.append(char(v & 0xff)).append(char(v >> 8)); };
    le32(36 + quint32(samples.size()));
    wav.append("WAVEfmt ");
    le32(16), le16(1), le16(1), le32(Rate), le32(Rate * 2), le16(2), le16(16);
    wav.append("data");
    le32(quint32(samples.size()));
    return wav + samples;
}

bool TestReaders::writeReader(const QString &folder, const QString &prefix, bool preambleUpper,
                              Verses verses)
{
    if (!QDir().mkpath(folder))
        return false;
    // Made once: the hundreds of verse files of every reader are the same.
    static const QByteArray measured = wav(0.05, 0.4);
    static const QByteArray quick = wav(0.05, 0.15);
    const QByteArray &verse = verses == Verses::Measured ? measured : quick;
    for (int card = 0; card <= 100; ++card) {
        for (int half = (card == 0 && !preambleUpper) ? 2 : 1; half <= 2; ++half) {
            const QString name =
                QString::asprintf("%s_%03d_%d.wav", qPrintable(prefix), card, half);
            if (!writeFile(QDir(folder).filePath(name), verse))
                return false;
        }
    }
    return true;
}

bool TestReaders::writeZip(const QString &path, const QList<ZipEntry> &entries)
{
    archive *zip = archive_write_new();
    archive_write_set_format_zip(zip);
    bool ok = archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const ZipEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.path.constData());
        archive_entry_set_filetype(entry, unsigned(e.type));
        archive_entry_set_perm(entry, 0644);
        if (e.type == AE_IFLNK)
            archive_entry_set_symlink(entry, e.linkTarget.constData());
        const qint64 size = e.type == AE_IFREG ? (e.zeroBytes ? e.zeroBytes : e.data.size()) : 0;
        if (e.sizeInHeader)
            archive_entry_set_size(entry, size);
        else
            archive_entry_unset_size(entry);
        ok = ok && archive_write_header(zip, entry) == ARCHIVE_OK;
        if (e.zeroBytes) {
            const QByteArray zeros(1 << 20, '\0');
            for (qint64 done = 0; ok && done < e.zeroBytes; done += zeros.size())
                ok = archive_write_data(zip, zeros.constData(), size_t(zeros.size()))
                    == zeros.size();
        } else if (!e.data.isEmpty()) {
            ok = ok
                && archive_write_data(zip, e.data.constData(), size_t(e.data.size()))
                    == e.data.size();
        }
        archive_entry_free(entry);
    }
    ok = archive_write_close(zip) == ARCHIVE_OK && ok;
    archive_write_free(zip);
    return ok;
}

bool TestReaders::writeSmallReader(const QString &folder, const char *prefix)
{
    for (int card = 1; card <= 3; ++card)
        if (!QDir().mkpath(folder)
            || !writeWav(QDir(folder).filePath(QString::asprintf("%s_%03d_1.wav", prefix, card)),
                         0.01, 0.1))
            return false;
    return true;
}

QStringList TestReaders::leftovers(const QString &root)
{
    return QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void TestReaders::scan_keepsOnePrefixInPlayOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : {"yomi_001_1.wav", "yomi_001_1.ogg", "yomi_002_2.mp3", "yomi_101_1.ogg",
                             "yomi_003_1.WAV", "other_001_1.ogg", "yomi_004_3.ogg", "notes.txt"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "x"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("yomi_005_1.ogg"))); // a folder is no verse

    const ReaderFiles files = ReaderFiles::scan(dir.path());
    QCOMPARE(files.prefix, QStringLiteral("yomi"));
    QCOMPARE(files.otherPrefixes, QStringList {QStringLiteral("other")});
    QCOMPARE(files.paths.size(), 2);
    QCOMPARE(QFileInfo(files.paths.value(VerseFileName::key(1, 1))).fileName(),
             QStringLiteral("yomi_001_1.ogg"));
    QVERIFY(files.has(2, 2));
    QCOMPARE(files.missingVerses().size(), ReaderFiles::RequiredVerses - 2);
    QCOMPARE(files.missingVerses().first(), QStringLiteral("000_2"));

    // An import takes an upper-case extension, and names it in lower case.
    QCOMPARE(VerseFileName::parse(QStringLiteral("A_b_100_2.FLAC")).prefix, QStringLiteral("A_b"));
    QCOMPARE(VerseFileName::parse(QStringLiteral("A_b_100_2.FLAC")).extension,
             QStringLiteral("flac"));
    QVERIFY(!VerseFileName::parse(QStringLiteral("_001_1.ogg")).isValid());
}

void TestReaders::measure_leadingSilenceAndHeldTail()
{
    // 0.5 s of silence, a short syllable, a stop, then a vowel held 2 s and fading.
    constexpr int Rate = 44100;
    std::vector<float> stereo;
    auto add = [&stereo](double seconds, double from, double to) {
        const int n = int(seconds * Rate);
        for (int i = 0; i < n; ++i) {
            const float v =
                float((from + (to - from) * i / n) * std::sin(2 * M_PI * 220 * i / Rate));
            stereo.push_back(v);
            stereo.push_back(v);
        }
    };
    add(0.5, 0, 0);
    add(0.3, 0.5, 0.5);
    add(0.08, 0, 0);
    add(2.0, 0.5, 0.02);
    add(0.3, 0, 0);
    const VerseMeasure measure = VerseMeasure::ofSamples(stereo, Rate);
    QVERIFY(measure.decodes && !measure.silent && measure.hasLoudness);
    QCOMPARE(std::round(measure.seconds * 100), 318.0);
    QVERIFY2(std::abs(measure.leadingSilence - 0.5) < 0.01,
             qPrintable(QString::number(measure.leadingSilence)));
    // The fade reaches the -40 dB floor a little before its end.
    QVERIFY2(measure.heldTail > 1.6 && measure.heldTail <= 2.01,
             qPrintable(QString::number(measure.heldTail)));

    std::vector<float> quiet(Rate * 2, 0.0005f);
    QVERIFY(VerseMeasure::ofSamples(quiet, Rate).silent);
}

void TestReaders::check_reportsProblemsAndExitStatus()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeReader(dir.path(), QStringLiteral("r"), false));
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QString program = QStringLiteral("QtUtakaze");
    const QString option = QStringLiteral("--check-reader");

    QCOMPARE(CheckReaderCommand::run({program, option, dir.path()}, outStream, errStream),
             CheckReaderCommand::Complete);
    ReaderReport report = ReaderCheck::checkFolder(dir.path());
    QVERIFY(report.isComplete() && report.problems.isEmpty() && !report.hasPreambleUpper);
    QCOMPARE(report.requiredFound, 201);
    QVERIFY(std::abs(report.seconds.median - 0.45) < 0.01);
    QVERIFY(std::abs(report.leadingSilence.max - 0.05) < 0.01);
    QVERIFY(report.hasLoudness && report.loudnessSpreadLu < 0.1);
    QCOMPARE(out.count(QLatin1Char('\n')), report.lines().size());

    // A missing verse, a corrupt one and a silent one: one line each.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("r_050_2.wav"))));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("r_051_1.wav")), "RIFF but no audio"));
    QVERIFY(writeWav(dir.filePath(QStringLiteral("r_052_1.wav")), 0.3, 0.1, 0.0));
    QVERIFY(writeWav(dir.filePath(QStringLiteral("r_000_1.wav")), 0.0, 0.5, 0.9));
    report = ReaderCheck::checkFolder(dir.path());
    QCOMPARE(report.problems.size(), 3);
    QVERIFY(report.problems.at(0).contains(QLatin1String("050_2")));
    QVERIFY(report.problems.at(1).contains(QLatin1String("r_051_1.wav")));
    QVERIFY(report.problems.at(2).contains(QLatin1String("r_052_1.wav")));
    QCOMPARE(report.requiredFound, 200);
    QVERIFY(report.hasPreambleUpper && report.loudnessSpreadLu > 3);
    out.clear();
    QCOMPARE(CheckReaderCommand::run({program, option, dir.path()}, outStream, errStream),
             CheckReaderCommand::Incomplete);
    QVERIFY(out.startsWith(report.problems.first()));

    // Only the silent verse left: still complete (it decodes).
    QVERIFY(writeWav(dir.filePath(QStringLiteral("r_050_2.wav")), 0.0, 0.3));
    QVERIFY(writeWav(dir.filePath(QStringLiteral("r_051_1.wav")), 0.0, 0.3));
    QCOMPARE(CheckReaderCommand::run({program, option, dir.path()}, outStream, errStream),
             CheckReaderCommand::Complete);

    const QList<QStringList> bad {{program, option},
                                  {program, option, dir.filePath(QStringLiteral("none"))},
                                  {program, option, dir.filePath(QStringLiteral("r_001_1.wav"))},
                                  {program, option, dir.path(), dir.path()}};
    for (const QStringList &arguments : bad) {
        err.clear();
        QCOMPARE(CheckReaderCommand::run(arguments, outStream, errStream),
                 CheckReaderCommand::BadArguments);
        QVERIFY(!err.isEmpty());
    }
}

void TestReaders::import_folder_goodIncompleteAndExisting()
{
    QTemporaryDir source, library;
    QVERIFY(source.isValid() && library.isValid());
    // A reader's files below a subfolder, beside other files.
    QVERIFY(writeReader(source.filePath(QStringLiteral("disc/cd1")), QStringLiteral("kaneko"), true,
                        Verses::Short));
    QVERIFY(writeFile(source.filePath(QStringLiteral("disc/readme.txt")), "notes"));
    const ReaderImporter importer {ReaderLibrary(library.path())};

    ImportOutcome outcome = importer.import(source.path(), QStringLiteral("金子"), false);
    QVERIFY2(outcome.imported, qPrintable(outcome.refusals.join(QLatin1Char('\n'))));
    QVERIFY(outcome.report.isComplete() && outcome.report.hasPreambleUpper);
    const ReaderLibrary lib(library.path());
    QCOMPARE(lib.names(), QStringList {QStringLiteral("金子")});
    QCOMPARE(QDir(lib.folder(QStringLiteral("金子"))).entryList(QDir::Files).size(), 202);
    QCOMPARE(leftovers(library.path()), QStringList {QStringLiteral("金子")});

    // An existing reader is replaced only when asked to.
    QVERIFY(QFile::remove(source.filePath(QStringLiteral("disc/cd1/kaneko_100_2.wav"))));
    outcome = importer.import(source.path(), QStringLiteral("金子"), false);
    QVERIFY(!outcome.imported && outcome.refusals.size() == 1);
    QCOMPARE(QDir(lib.folder(QStringLiteral("金子"))).entryList(QDir::Files).size(), 202);
    outcome = importer.import(source.path(), QStringLiteral("金子"), true);
    QVERIFY(outcome.imported && !outcome.report.isComplete());
    QCOMPARE(outcome.report.problems.size(), 1);
    QCOMPARE(QDir(lib.folder(QStringLiteral("金子"))).entryList(QDir::Files).size(), 201);
    QCOMPARE(leftovers(library.path()), QStringList {QStringLiteral("金子")});

    // Nothing to import, or a name that is a path: refused, nothing written.
    QTemporaryDir empty;
    QVERIFY(!importer.import(empty.path(), QStringLiteral("x"), false).imported);
    QVERIFY(!importer.import(source.path(), QStringLiteral("../x"), false).imported);
    QVERIFY(!importer.import(source.path(), QStringLiteral(".hidden"), false).imported);
    QCOMPARE(leftovers(library.path()), QStringList {QStringLiteral("金子")});
}

void TestReaders::import_zip_good()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(writeWav(work.filePath(QStringLiteral("tone.wav")), 0.0, 0.3));
    const QByteArray tone = readFile(work.filePath(QStringLiteral("tone.wav")));
    QList<ZipEntry> entries {ZipEntry::folder("reader/"),
                             ZipEntry::file("reader/notes.txt", "hello")};
    for (int card = 0; card <= 100; ++card) {
        for (int half = card ? 1 : 2; half <= 2; ++half)
            entries.append(ZipEntry::file(
                QString::asprintf("reader/ab_%03d_%d.WAV", card, half).toUtf8(), tone));
    }
    const QString zip = work.filePath(QStringLiteral("ab.zip"));
    QVERIFY(writeZip(zip, entries));

    const QString root = work.filePath(QStringLiteral("voices"));
    QCOMPARE(ReaderImporter::suggestedName(zip), QStringLiteral("ab"));
    const ImportOutcome outcome =
        ReaderImporter(ReaderLibrary(root)).import(zip, QStringLiteral("ab"), false);
    QVERIFY2(outcome.imported, qPrintable(outcome.refusals.join(QLatin1Char('\n'))));
    QVERIFY(outcome.report.isComplete());
    QVERIFY(QFileInfo::exists(QDir(root).filePath(QStringLiteral("ab/ab_042_1.wav"))));
    QCOMPARE(leftovers(root), QStringList {QStringLiteral("ab")});
}

void TestReaders::import_zip_refused_data()
{
    QTest::addColumn<QList<ZipEntry>>("entries");
    QTest::addColumn<QByteArray>("rawZip"); // written as the archive instead, when not empty
    QTest::addColumn<QString>("named"); // the refusal names it
    const QByteArray tone = QByteArray("RIFF");
    const ZipEntry good = ZipEntry::file("r_000_2.wav", tone);
    const QString entry = QStringLiteral("r_001_1.wav");
    QTest::newRow("absolute path")
        << QList<ZipEntry> {good, ZipEntry::file("/tmp/r_001_1.wav", tone)} << QByteArray()
        << QStringLiteral("/tmp/r_001_1.wav");
    QTest::newRow("parent folder")
        << QList<ZipEntry> {good, ZipEntry::file("a/../../r_001_1.wav", tone)} << QByteArray()
        << QStringLiteral("a/../../");
    QTest::newRow("backslash parent")
        << QList<ZipEntry> {ZipEntry::file("..\\r_001_1.wav", tone)} << QByteArray() << entry;
    QTest::newRow("symlink") << QList<ZipEntry> {good, ZipEntry::link("r_001_1.wav", "/etc/passwd")}
                             << QByteArray() << entry;
    // 60 MB of zeros: a few hundred kilobytes compressed; once with its size
    // in the header, once without (counted while it is read).
    QTest::newRow("over 50 MB") << QList<ZipEntry> {good,
                                                    ZipEntry::zeros("r_001_1.wav", 60LL << 20,
                                                                    true)}
                                << QByteArray() << entry;
    QTest::newRow("over 50 MB, size unsaid")
        << QList<ZipEntry> {good, ZipEntry::zeros("r_001_1.wav", 60LL << 20, false)} << QByteArray()
        << entry;
    QTest::newRow("corrupt") << QList<ZipEntry> {}
                             << QByteArray("PK\x03\x04 this is not a zip at all") << QString();
    QTest::newRow("no verse") << QList<ZipEntry> {ZipEntry::file("readme.txt", "no verses")}
                              << QByteArray() << QString();
}

void TestReaders::import_zip_refused()
{
    QFETCH(QList<ZipEntry>, entries);
    QFETCH(QByteArray, rawZip);
    QFETCH(QString, named);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString zip = work.filePath(QStringLiteral("hostile.zip"));
    QVERIFY(rawZip.isEmpty() ? writeZip(zip, entries) : writeFile(zip, rawZip));

    const QString root = work.filePath(QStringLiteral("voices"));
    const ImportOutcome outcome =
        ReaderImporter(ReaderLibrary(root)).import(zip, QStringLiteral("h"), false);
    QVERIFY(!outcome.imported);
    QCOMPARE(outcome.refusals.size(), 1);
    QVERIFY2(outcome.refusals.first().contains(named), qPrintable(outcome.refusals.first()));
    QCOMPARE(leftovers(root), QStringList());
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/r_001_1.wav")));
}

void TestReaders::library_readerInUse_voicesFollow()
{
    ScopedAppFolder app;
    QVERIFY(app.isValid());
    const ReaderLibrary library(app.folder());
    QCOMPARE(library.root(), app.filePath(QStringLiteral("voices")));
    QVERIFY(writeReader(library.folder(QStringLiteral("Ono")), QStringLiteral("ono"), false));
    QVERIFY(QDir().mkpath(library.folder(QStringLiteral("empty"))));
    QCOMPARE(library.names(), QStringList {QStringLiteral("Ono")});
    QVERIFY(!app.voices().isAvailable(Voices::First));

    QVERIFY(library.use(QStringLiteral("Ono"), app.reader));
    QCOMPARE(QFileInfo(app.voices().filePath(Voices::Second, 7, 1)).fileName(),
             QStringLiteral("ono_007_1.wav"));
    QVERIFY(app.voices().isAvailable(Voices::First) && app.voices().isAvailable(Voices::Second));

    // Unknown or no reader: the voice folders again.
    QVERIFY(!library.use(QStringLiteral("gone"), app.reader));
    QCOMPARE(app.voices().filePath(Voices::First, 7, 1),
             app.filePath(QStringLiteral("Music/rindou_007_1.ogg")));
    QVERIFY(library.use(QString(), app.reader));
    QVERIFY(!app.reader.get().isSet());
}

void TestReaders::staged_checkedBeforeReplace_cancelLeavesNothing()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString good = work.filePath(QStringLiteral("good"));
    const QString broken = work.filePath(QStringLiteral("broken"));
    QVERIFY(writeReader(good, QStringLiteral("g"), false, Verses::Short));
    QVERIFY(writeReader(broken, QStringLiteral("b"), false, Verses::Short));
    QVERIFY(QFile::remove(QDir(broken).filePath(QStringLiteral("b_017_1.wav"))));
    QVERIFY(writeFile(QDir(broken).filePath(QStringLiteral("b_020_1.wav")), "RIFF"));
    const QString root = work.filePath(QStringLiteral("voices"));
    const ReaderLibrary library(root);
    const ReaderImporter importer(library);
    QVERIFY(importer.import(good, QStringLiteral("r"), false).imported);

    // Staged and checked beside the library; the old reader is untouched
    // until install, and stays whole when the replace is declined.
    StagedReader staged = importer.stage(broken, QStringLiteral("r"), {});
    QVERIFY(staged.refusals.isEmpty());
    QCOMPARE(staged.report.requiredFound, 200);
    QCOMPARE(staged.report.undecodable, 1);
    QCOMPARE(library.reader(QStringLiteral("r")).prefix, QStringLiteral("g"));
    QVERIFY(!importer.install(staged, false).imported);
    QCOMPARE(ReaderFiles::scan(library.folder(QStringLiteral("r"))).paths.size(), 201);
    staged = importer.stage(broken, QStringLiteral("r"), {});
    QVERIFY(importer.install(staged, true).imported);
    QCOMPARE(library.reader(QStringLiteral("r")).prefix, QStringLiteral("b"));
    QCOMPARE(leftovers(root), QStringList {QStringLiteral("r")});

    // Cancelled: refused, nothing left behind.
    ImportProgress progress;
    progress.cancel();
    ImportOptions options;
    options.progress = &progress;
    {
        StagedReader cancelled = importer.stage(good, QStringLiteral("c"), options);
        QVERIFY(!cancelled.refusals.isEmpty());
        QVERIFY(!importer.install(cancelled, false).imported);
    }
    QCOMPARE(leftovers(root), QStringList {QStringLiteral("r")});
}

void TestReaders::import_shortWrite_refusedWithNothingLeft()
{
    // A file size limit makes the system refuse writes past 20 KB, as a
    // full disk would in the middle of a verse.
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString source = work.filePath(QStringLiteral("src"));
    QVERIFY(writeReader(source, QStringLiteral("w"), false));
    const QString root = work.filePath(QStringLiteral("voices"));
    rlimit before {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 20 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ImportOutcome outcome =
        ReaderImporter(ReaderLibrary(root)).import(source, QStringLiteral("w"), false);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY(!outcome.imported);
    QCOMPARE(outcome.refusals.size(), 1);
    QVERIFY2(outcome.refusals.first().contains(QLatin1String(".wav")),
             qPrintable(outcome.refusals.first()));
    QCOMPARE(leftovers(root), QStringList());
}

void TestReaders::zip_limitsAndOnlyTheChosenPrefix()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString root = work.filePath(QStringLiteral("voices"));
    const ReaderImporter importer {ReaderLibrary(root)};
    const QByteArray tone = [&] {
        const QString path = work.filePath(QStringLiteral("tone.wav"));
        return writeWav(path, 0.0, 0.2) ? readFile(path) : QByteArray();
    }();

    // Too many entries: refused before anything is extracted, the limit named.
    QList<ZipEntry> many;
    for (int i = 0; i <= ReaderImporter::MaxZipEntries; ++i)
        many.append(ZipEntry::file(QByteArray::number(i) + ".txt", "x"));
    const QString manyZip = work.filePath(QStringLiteral("many.zip"));
    QVERIFY(writeZip(manyZip, many));
    ImportOutcome outcome = importer.import(manyZip, QStringLiteral("m"), false);
    QVERIFY(!outcome.imported);
    QVERIFY2(outcome.refusals.value(0).contains(QString::number(ReaderImporter::MaxZipEntries)),
             qPrintable(outcome.refusals.value(0)));
    QCOMPARE(leftovers(root), QStringList());

    // Another prefix's files are left in the archive, and named in the report.
    const QList<ZipEntry> mixed {ZipEntry::file("a_001_1.wav", tone),
                                 ZipEntry::file("a_001_2.wav", tone),
                                 ZipEntry::file("z_002_1.wav", tone)};
    const QString mixedZip = work.filePath(QStringLiteral("mixed.zip"));
    QVERIFY(writeZip(mixedZip, mixed));
    outcome = importer.import(mixedZip, QStringLiteral("a"), false);
    QVERIFY2(outcome.imported, qPrintable(outcome.refusals.join(QLatin1Char('\n'))));
    QVERIFY(outcome.report.problems.first().contains(QLatin1String("z_")));
    QCOMPARE(QDir(QDir(root).filePath(QStringLiteral("a"))).entryList(QDir::Files).size(), 2);
}

void TestReaders::timing_keptOnlyWhenItFits()
{
    const QHash<int, int> morae = TimingFit::builtInMorae();
    QCOMPARE(morae.size(), 202);
    QCOMPARE(morae.value(VerseFileName::key(17, 1)),
             TimingFit::moraeOf(QStringLiteral("ちはやぶる かみよもきかず たつたがわ")));
    QCOMPARE(TimingFit::moraeOf(QStringLiteral("きょう っ")), 3);

    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString source = work.filePath(QStringLiteral("src"));
    QVERIFY(writeReader(source, QStringLiteral("t"), false, Verses::Short));
    // A fitting table: every verse, its morae 5 ms apart, inside its 0.2 s.
    QByteArray fitting = "card\thalf\tends_ms\n";
    for (int card = 0; card <= 100; ++card) {
        for (int half = card ? 1 : 2; half <= 2; ++half) {
            QStringList ends;
            for (int m = 1; m <= morae.value(VerseFileName::key(card, half)); ++m)
                ends.append(QString::number(m * 5));
            fitting +=
                QStringLiteral("%1\t%2\t%3\n").arg(card).arg(half).arg(ends.join(',')).toUtf8();
        }
    }
    const QString table = QDir(source).filePath(QLatin1String(TimingFit::FileName));
    const QString root = work.filePath(QStringLiteral("voices"));
    const ReaderImporter importer {ReaderLibrary(root)};
    QVERIFY(writeFile(table, fitting));
    ImportOutcome outcome = importer.import(source, QStringLiteral("fits"), false);
    QVERIFY(outcome.imported && outcome.report.timing == ReaderReport::Timing::Kept);
    QVERIFY(QFileInfo::exists(QDir(root).filePath(QStringLiteral("fits/timing.tsv"))));

    // One mora too many, an end past the file, a verse without its row: left
    // out, the reason naming the verse, and --check-reader says the same.
    const ReaderFiles files = ReaderFiles::scan(source);
    const QMap<int, double> seconds = ReaderCheck::check(files).secondsByVerse;
    const QList<QPair<QByteArray, QByteArray>> unfit {{"\n17\t1\t5,", "\n17\t1\t1,5,"},
                                                      {"\n17\t1\t5,", "\n17\t1\t900,"},
                                                      {"\n17\t1\t", "\n17\t9\t"}};
    for (const auto &[from, to] : unfit) {
        QString why =
            TimingFit::whyNot(QByteArray(fitting).replace(from, to), files, seconds, morae);
        QVERIFY2(why.contains(QLatin1String("017_")), qPrintable(why));
    }
    QVERIFY(TimingFit::whyNot(fitting, files, seconds, morae).isEmpty());
    QVERIFY(!TimingFit::whyNot("card\thalf\n", files, seconds, morae).isEmpty());

    QVERIFY(writeFile(table, QByteArray(fitting).replace("\n17\t1\t5,", "\n17\t1\t1,5,")));
    outcome = importer.import(source, QStringLiteral("unfit"), false);
    QVERIFY(outcome.imported && outcome.report.timing == ReaderReport::Timing::LeftOut);
    QVERIFY(!QFileInfo::exists(QDir(root).filePath(QStringLiteral("unfit/timing.tsv"))));
    QVERIFY(outcome.report.lines().last().contains(outcome.report.timingProblem));
    QCOMPARE(ReaderCheck::checkFolder(source).timingProblem, outcome.report.timingProblem);
}

void TestReaders::pattern_namesVersesAndPreviews()
{
    const VersePattern plain(QStringLiteral("{card}-{half}.mp3"));
    QVERIFY(plain.isValid());
    VerseFileName name = plain.match(QStringLiteral("17-1.MP3"), QStringLiteral("club"));
    QVERIFY(name.isValid() && name.card == 17 && name.half == 1 && name.extension == "mp3");
    QCOMPARE(name.prefix, QStringLiteral("club"));
    QVERIFY(!plain.match(QStringLiteral("17-3.mp3"), QStringLiteral("c")).isValid());
    QVERIFY(!plain.match(QStringLiteral("101-1.mp3"), QStringLiteral("c")).isValid());
    QVERIFY(!plain.match(QStringLiteral("x17-1.mp3"), QStringLiteral("c")).isValid());
    const VersePattern padded(QStringLiteral("{card:03}_{half}.flac"));
    QVERIFY(padded.match(QStringLiteral("007_2.flac"), QStringLiteral("c")).isValid());
    QVERIFY(!padded.match(QStringLiteral("7_2.flac"), QStringLiteral("c")).isValid());
    QVERIFY(!VersePattern(QStringLiteral("{card}.mp3")).isValid());
    QVERIFY(!VersePattern(QStringLiteral("a/{card}-{half}.mp3")).isValid());

    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("src"))));
    QVERIFY(writeWav(work.filePath(QStringLiteral("src/0-2.wav")), 0.0, 0.2));
    QVERIFY(writeWav(work.filePath(QStringLiteral("src/12-1.wav")), 0.0, 0.2));
    QVERIFY(writeFile(work.filePath(QStringLiteral("src/notes.wav")), "x"));
    QStringList refusals;
    const QList<PlannedVerse> planned =
        ReaderImporter::preview(work.filePath(QStringLiteral("src")), QStringLiteral("club"),
                                VersePattern(QStringLiteral("{card}-{half}.wav")), &refusals);
    QVERIFY(refusals.isEmpty());
    QCOMPARE(planned.size(), 2);
    QStringList targets;
    for (const PlannedVerse &verse : planned)
        targets.append(verse.target);
    targets.sort();
    QCOMPARE(targets,
             (QStringList {QStringLiteral("club_000_2.wav"), QStringLiteral("club_012_1.wav")}));

    ImportOptions options;
    options.pattern = VersePattern(QStringLiteral("{card}-{half}.wav"));
    const ReaderImporter importer {ReaderLibrary(work.filePath(QStringLiteral("voices")))};
    StagedReader staged =
        importer.stage(work.filePath(QStringLiteral("src")), QStringLiteral("club"), options);
    QVERIFY(importer.install(staged, false).imported);
    QCOMPARE(ReaderLibrary(work.filePath(QStringLiteral("voices")))
                 .reader(QStringLiteral("club"))
                 .prefix,
             QStringLiteral("club"));
}

void TestReaders::shelf_detailsRenameDelete_andImportCommand()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString source = work.filePath(QStringLiteral("src"));
    QVERIFY(writeReader(source, QStringLiteral("s"), false));
    QVERIFY(QFile::remove(QDir(source).filePath(QStringLiteral("s_020_2.wav"))));
    const QString root = work.filePath(QStringLiteral("voices"));
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QString program = QStringLiteral("QtUtakaze");
    const QString option = QStringLiteral("--import-reader");
    QCOMPARE(ImportReaderCommand::run({program, option, source, QStringLiteral("s")}, root,
                                      outStream, errStream),
             CheckReaderCommand::Incomplete);
    QVERIFY(out.contains(QLatin1String("020_2")));
    QCOMPARE(ImportReaderCommand::run({program, option, source, QStringLiteral("s")}, root,
                                      outStream, errStream),
             CheckReaderCommand::Incomplete); // exists already: never replaced
    QCOMPARE(ImportReaderCommand::run({program, option, source}, root, outStream, errStream),
             CheckReaderCommand::BadArguments);

    const ReaderLibrary library(root);
    const ReaderShelf shelf(library);
    const ReaderDetails details = shelf.details(QStringLiteral("s"));
    QCOMPARE(details.verses, 200);
    QCOMPARE(details.cardsMissingVerses, QList<int> {20});
    QCOMPARE(details.source, QFileInfo(source).absoluteFilePath());
    QVERIFY(!details.hasTiming && details.bytes > 200 * 30000);

    QVERIFY(
        shelf.rename(QStringLiteral("s"), QStringLiteral("../t")).contains(QLatin1String("../t")));
    QVERIFY(shelf.rename(QStringLiteral("s"), QStringLiteral("t")).isEmpty());
    QCOMPARE(library.names(), QStringList {QStringLiteral("t")});
    QVERIFY(!shelf.remove(QStringLiteral("s")).isEmpty());
    QVERIFY(shelf.remove(QStringLiteral("t")).isEmpty());
    QCOMPARE(leftovers(root), QStringList());
}

void TestReaders::job_askedAfterCheck_cancelled_readerInUseKeptDuringReading()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString good = work.filePath(QStringLiteral("good"));
    const QString other = work.filePath(QStringLiteral("other"));
    QVERIFY(writeSmallReader(good, "g") && writeSmallReader(other, "o"));
    const ReaderLibrary library(work.filePath(QStringLiteral("voices")));
    bool reading = false;
    ReaderInUse inUse;
    ReaderImportJob job(library, inUse, [&reading] { return reading; });
    QSignalSpy finished(&job, &ReaderImportJob::finished);

    // A new name: installed without a question; one import at a time.
    QVERIFY(job.start(good, QStringLiteral("r")).isEmpty());
    QVERIFY(job.isBusy());
    QVERIFY(!job.start(other, QStringLiteral("s")).isEmpty());
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(job.outcome().imported && !job.wasCancelled());
    QVERIFY(job.filesToDo() >= 3 && job.filesDone() == job.filesToDo());

    // The same name: asked after the check, the old reader whole meanwhile;
    // No keeps it, Yes replaces it, and nothing else stays in the library.
    for (const bool replace : {false, true}) {
        QVERIFY(job.start(other, QStringLiteral("r")).isEmpty());
        QTRY_COMPARE(job.state(), ReaderImportJob::State::AwaitingAnswer);
        QCOMPARE(job.stagedReport().requiredFound, 3);
        QCOMPARE(library.reader(QStringLiteral("r")).prefix, QStringLiteral("g"));
        job.answerReplace(replace);
        QCOMPARE(job.wasCancelled(), !replace);
        QCOMPARE(library.reader(QStringLiteral("r")).prefix,
                 replace ? QStringLiteral("o") : QStringLiteral("g"));
        QCOMPARE(leftovers(library.root()), QStringList {QStringLiteral("r")});
    }

    // Cancelled while gathering, or while the question waits: nothing changes.
    QVERIFY(job.start(good, QStringLiteral("c")).isEmpty());
    job.cancel();
    QTRY_COMPARE(finished.count(), 4);
    QVERIFY(job.wasCancelled() && !job.outcome().imported);
    QVERIFY(job.start(good, QStringLiteral("r")).isEmpty());
    QTRY_COMPARE(job.state(), ReaderImportJob::State::AwaitingAnswer);
    job.cancel();
    QVERIFY(!job.isBusy() && job.wasCancelled());
    QCOMPARE(leftovers(library.root()), QStringList {QStringLiteral("r")});

    // The reader a reading uses: refused at the start, and at the install
    // when the reading began while the question waited.
    QVERIFY(library.use(QStringLiteral("r"), inUse));
    reading = true;
    QVERIFY(!job.start(good, QStringLiteral("r")).isEmpty() && !job.isBusy());
    reading = false;
    QVERIFY(job.start(good, QStringLiteral("r")).isEmpty());
    QTRY_COMPARE(job.state(), ReaderImportJob::State::AwaitingAnswer);
    reading = true;
    job.answerReplace(true);
    QVERIFY(!job.outcome().imported && !job.outcome().refusals.isEmpty());
    QCOMPARE(library.reader(QStringLiteral("r")).prefix, QStringLiteral("o"));
    // No reading: replaced, and the reader in use follows the new prefix.
    reading = false;
    QVERIFY(job.start(good, QStringLiteral("r")).isEmpty());
    QTRY_COMPARE(job.state(), ReaderImportJob::State::AwaitingAnswer);
    job.answerReplace(true);
    QVERIFY(job.outcome().imported && job.replacedReaderInUse());
    QCOMPARE(inUse.get().prefix, QStringLiteral("g"));
}

QTEST_GUILESS_MAIN(TestReaders)
#include "tst_readers.moc"
