#ifndef TESTDATA_H
#define TESTDATA_H

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// Small helpers the tests share for the files and values they set up.
namespace TestData {

// The whole file, or nothing if it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file whole; false if any of it could not be written.
inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Cards 1 to 100 in order: the selection when every card is chosen.
inline QList<int> allCards()
{
    QList<int> cards;
    for (int i = 1; i <= 100; ++i)
        cards.append(i);
    return cards;
}

} // namespace TestData

#endif
