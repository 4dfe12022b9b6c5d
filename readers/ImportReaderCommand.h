#ifndef IMPORTREADERCOMMAND_H
#define IMPORTREADERCOMMAND_H

#include <QCoreApplication>
#include <QStringList>

class QTextStream;

// QtUtakaze --import-reader SOURCE NAME [--pattern P]: imports a reader into
// the library without a window and prints its check (ReaderReport::lines()).
// Exits as --check-reader does: 0 imported and complete, 1 refused or
// incomplete, 2 bad arguments. An existing reader is never replaced.
class ImportReaderCommand
{
    Q_DECLARE_TR_FUNCTIONS(ImportReaderCommand)

public:
    static bool isRequested(int argc, const char *const *argv);
    // arguments: the program's, its name first; library: the voices/ folder.
    static int run(const QStringList &arguments, const QString &library, QTextStream &out,
                   QTextStream &err);
};

#endif
