#ifndef TSVTEXT_H
#define TSVTEXT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The tab-separated files the program keeps and reads (history, drill
// records, timing tables): UTF-8, one row a line, an optional header line.
namespace TsvText {

// The file's bytes, at most Limit of them (none of these files comes near
// it: a larger one is no such file); nothing when it cannot be read.
constexpr qint64 Limit = 1 << 20;
QByteArray load(const QString &path);

// The fields of each row: a trailing CR is dropped, blank lines are skipped
// and so is a first line that starts with `header`.
QList<QStringList> rows(const QByteArray &tsv, QLatin1String header);

} // namespace TsvText

#endif
