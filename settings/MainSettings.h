#ifndef MAINSETTINGS_H
#define MAINSETTINGS_H

#include <QList>
#include <QString>
#include <QStringList>

class QSettings;

// The group SETTING of the settings file: what the main window shows and the
// reading uses. Every value is kept within what the window can show, so a
// hand-edited or broken file reads as the nearest valid values.
class MainSettings
{
public:
    static constexpr int MinWait1 = 1;
    static constexpr int MaxWait1 = 20;
    static constexpr int MinWait2 = 1;
    static constexpr int MaxWait2 = 10;
    static constexpr int FirstCard = 1;
    static constexpr int LastCard = 100;

    MainSettings();

    static MainSettings load(QSettings &settings);
    void save(QSettings &settings) const;

    bool chkJoka() const { return joka; }
    void setChkJoka(bool read) { joka = read; }

    // Seconds after an upper verse, clamped to MinWait1..MaxWait1.
    int wait1Time() const { return wait1; }
    void setWait1Time(int seconds);

    // Seconds after a lower verse, clamped to MinWait2..MaxWait2.
    int wait2Time() const { return wait2; }
    void setWait2Time(int seconds);

    // 0 the first voice, 1 the second; any other number means the second
    // voice, as the reading has always taken it.
    int selectVoice() const { return voice; }
    void setSelectVoice(int selected) { voice = selected == 0 ? 0 : 1; }

    // The cards in play in list order (duplicates kept); cards outside
    // FirstCard..LastCard are dropped.
    const QList<int> &fudaList() const { return cards; }
    void setFudaList(const QList<int> &list);

    // The stored form of a card list: the numbers joined by ",".
    static QString fudaListText(const QList<int> &list);

    // What load() had to change in the file's values (out of range, not a
    // number, cards dropped), one line each, for the log; empty when the
    // file was taken as it stands.
    const QStringList &adjustments() const { return adjusted; }

private:
    bool joka = true;
    int wait1 = 10;
    int wait2 = 3;
    int voice = 0;
    QList<int> cards; // every card by default
    QStringList adjusted;
};

#endif
