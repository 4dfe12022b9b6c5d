#include "TimingFit.h"

#include <QFile>
#include <QSet>

QHash<int, int> TimingFit::builtInMorae()
{
    QFile file(QStringLiteral(":/data/poems.tsv"));
    QHash<int, int> morae;
    if (!file.open(QIODevice::ReadOnly))
        return morae;
    // No kami shimo kami_reading shimo_reading
    const QList<QByteArray> rows = file.readAll().split('\n');
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList fields = QString::fromUtf8(rows.at(i)).trimmed().split(QLatin1Char('\t'));
        bool ok = false;
        const int card = fields.value(0).toInt(&ok);
        if (!ok || fields.size() < 5)
            continue;
        morae.insert(VerseFileName::key(card, 1), moraeOf(fields.at(3)));
        morae.insert(VerseFileName::key(card, 2), moraeOf(fields.at(4)));
    }
    return morae;
}

int TimingFit::moraeOf(const QString &reading)
{
    static const QString small = QStringLiteral("ゃゅょぁぃぅぇぉゎャュョァィゥェォヮ");
    int morae = 0;
    for (const QChar c : reading) {
        if (!c.isSpace() && !small.contains(c))
            ++morae;
    }
    return morae;
}

QString TimingFit::whyNot(const QByteArray &tsv, const ReaderFiles &files,
                          const QMap<int, double> &seconds, const QHash<int, int> &morae)
{
    QList<QByteArray> rows = tsv.split('\n');
    while (!rows.isEmpty() && rows.last().trimmed().isEmpty())
        rows.removeLast();
    if (rows.isEmpty() || rows.first().trimmed() != "card\thalf\tends_ms")
        return tr("見出し (card half ends_ms) がありません");

    QSet<int> seen;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QList<QByteArray> fields = rows.at(i).trimmed().split('\t');
        bool cardOk = false, halfOk = false;
        const int card = fields.value(0).toInt(&cardOk);
        const int half = fields.value(1).toInt(&halfOk);
        if (fields.size() != 3 || !cardOk || !halfOk)
            return tr("%1 行目が読めません").arg(i + 1);
        const int key = VerseFileName::key(card, half);
        const QString id = VerseFileName::verseId(card, half);
        if (!files.has(card, half))
            return tr("句のファイルがない行があります: %1").arg(id);
        if (seen.contains(key))
            return tr("同じ句の行が二つあります: %1").arg(id);
        seen.insert(key);

        qint64 previous = -1;
        const QList<QByteArray> ends = fields.at(2).split(',');
        for (const QByteArray &text : ends) {
            bool ok = false;
            const qint64 end = text.trimmed().toLongLong(&ok);
            if (!ok || end <= previous)
                return tr("時刻が増えていません: %1").arg(id);
            previous = end;
        }
        if (morae.contains(key) && ends.size() != morae.value(key))
            return tr("拍の数が読みと合いません: %1 (%2 拍、読みは %3 拍)")
                .arg(id)
                .arg(ends.size())
                .arg(morae.value(key));
        if (seconds.contains(key) && previous > qint64(seconds.value(key) * 1000.0 + 0.5))
            return tr("時刻が句の長さを超えています: %1").arg(id);
    }
    for (auto it = files.paths.keyBegin(); it != files.paths.keyEnd(); ++it) {
        if (!seen.contains(*it))
            return tr("行がない句があります: %1").arg(VerseFileName::verseId(*it / 10, *it % 10));
    }
    return {};
}
