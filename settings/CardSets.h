#ifndef CARDSETS_H
#define CARDSETS_H

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class QSettings;

// INI group CardSets: named card selections, one key per name, the value in
// the FudaList form ("1,2,3": card numbers joined by ","). A value that is not
// such a list of cards 1..100 is skipped on loading.
class CardSets
{
public:
    static CardSets load(QSettings &settings);
    // Writes the sets inserted or removed since loading, each in place, and
    // nothing else: without changes the group stays exactly as it was (a
    // hand-edited value and a set another program saved meanwhile included).
    void save(QSettings &settings) const;

    // Writes or removes one set in place, leaving the group's other keys
    // (a hand-edited value among them) as they are. False for a name or
    // selection insert() refuses.
    static bool saveOne(QSettings &settings, const QString &name, const QList<int> &cards);
    static void removeOne(QSettings &settings, const QString &name);

    QStringList names() const { return sets.keys(); }
    bool contains(const QString &name) const { return sets.contains(name); }
    QList<int> cards(const QString &name) const { return sets.value(name); }

    // False (and nothing changes) for a name that cannot be a key or an
    // empty selection. An existing name is replaced.
    bool insert(const QString &name, const QList<int> &cards);
    void remove(const QString &name);
    int size() const { return static_cast<int>(sets.size()); }

    static bool isValidName(const QString &name);
    static QString format(const QList<int> &cards);
    // nullopt unless every part is a card 1..100 (duplicates dropped).
    static std::optional<QList<int>> parse(const QString &text);

private:
    QMap<QString, QList<int>> sets;
    QSet<QString> edited; // names inserted or removed since loading
};

#endif
