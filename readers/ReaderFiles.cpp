#include "ReaderFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

// The play order of the formats (as the reading thread looks for them).
const QStringList &formats()
{
    static const QStringList order {QStringLiteral("ogg"), QStringLiteral("opus"),
                                    QStringLiteral("flac"), QStringLiteral("mp3"),
                                    QStringLiteral("wav")};
    return order;
}

} // namespace

VerseFileName VerseFileName::parse(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(.+)_(\\d{3})_([12])\\.(ogg|opus|flac|mp3|wav)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(fileName);
    VerseFileName name;
    if (!match.hasMatch())
        return name;
    const int card = match.captured(2).toInt();
    if (card >= ReaderFiles::Cards)
        return name;
    name.prefix = match.captured(1);
    name.card = card;
    name.half = match.captured(3).toInt();
    name.extension = match.captured(4).toLower();
    return name;
}

QString VerseFileName::verseId(int card, int half)
{
    return QString::asprintf("%03d_%1d", card, half);
}

QStringList ReaderFiles::missingVerses() const
{
    QStringList missing;
    for (int card = 0; card < Cards; ++card) {
        for (int half = card == 0 ? 2 : 1; half <= 2; ++half) {
            if (!has(card, half))
                missing.append(VerseFileName::verseId(card, half));
        }
    }
    return missing;
}

ReaderFiles ReaderFiles::scan(const QString &folder)
{
    // Only lower-case extensions are played, so only those count here.
    QHash<QString, QList<QFileInfo>> byPrefix;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const VerseFileName name = VerseFileName::parse(entry.fileName());
        if (name.isValid() && entry.suffix() == name.extension && entry.isFile())
            byPrefix[name.prefix].append(entry);
    }

    ReaderFiles files;
    QStringList prefixes = byPrefix.keys();
    std::sort(prefixes.begin(), prefixes.end());
    for (const QString &prefix : std::as_const(prefixes)) {
        if (files.prefix.isEmpty()
            || byPrefix.value(prefix).size() > byPrefix.value(files.prefix).size())
            files.prefix = prefix;
    }
    for (const QString &prefix : std::as_const(prefixes)) {
        if (prefix != files.prefix)
            files.otherPrefixes.append(prefix);
    }

    QHash<int, int> rankOf; // key -> format rank of the path kept
    const QList<QFileInfo> chosen = byPrefix.value(files.prefix);
    for (const QFileInfo &entry : chosen) {
        const VerseFileName name = VerseFileName::parse(entry.fileName());
        const int key = VerseFileName::key(name.card, name.half);
        const int rank = int(formats().indexOf(name.extension));
        if (!rankOf.contains(key) || rank < rankOf.value(key)) {
            rankOf.insert(key, rank);
            files.paths.insert(key, entry.absoluteFilePath());
        }
    }
    return files;
}
