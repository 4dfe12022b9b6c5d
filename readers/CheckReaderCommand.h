#ifndef CHECKREADERCOMMAND_H
#define CHECKREADERCOMMAND_H

#include <QCoreApplication>
#include <QStringList>

class QTextStream;

// QtUtakaze --check-reader DIR: checks a reader's folder without a window and
// prints the problems and the summary (ReaderReport::lines()).
class CheckReaderCommand
{
    Q_DECLARE_TR_FUNCTIONS(CheckReaderCommand)

public:
    static constexpr int Complete = 0; // every verse there and decodable
    static constexpr int Incomplete = 1;
    static constexpr int BadArguments = 2;

    // The program was started as a check (its first argument is --check-reader).
    static bool isRequested(int argc, const char *const *argv);
    // arguments: the program's, its name first. Returns the exit status.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

#endif
