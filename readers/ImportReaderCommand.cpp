#include "ImportReaderCommand.h"

#include "CheckReaderCommand.h"
#include "ReaderImporter.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {
const char *const Option = "--import-reader";
}

bool ImportReaderCommand::isRequested(int argc, const char *const *argv)
{
    return argc > 1 && std::strcmp(argv[1], Option) == 0;
}

int ImportReaderCommand::run(const QStringList &arguments, const QString &library, QTextStream &out,
                             QTextStream &err)
{
    const bool withPattern = arguments.size() == 6 && arguments.at(4) == QLatin1String("--pattern");
    if ((arguments.size() != 4 && !withPattern) || arguments.at(1) != QLatin1String(Option)) {
        err << tr("使い方: %1 --import-reader フォルダか.zip 名前 [--pattern 名前の型]")
                   .arg(QFileInfo(arguments.value(0)).fileName())
            << Qt::endl;
        return CheckReaderCommand::BadArguments;
    }
    const QString source = arguments.at(2);
    if (!QFileInfo::exists(source)) {
        err << tr("ありません: %1").arg(source) << Qt::endl;
        return CheckReaderCommand::BadArguments;
    }
    ImportOptions options;
    if (withPattern)
        options.pattern = VersePattern(arguments.at(5));
    const ReaderImporter importer {ReaderLibrary(library)};
    StagedReader staged = importer.stage(source, arguments.at(3), options);
    const bool checked = staged.refusals.isEmpty();
    const ImportOutcome outcome = importer.install(staged, false);
    if (checked) {
        for (const QString &line : outcome.report.lines())
            out << line << Qt::endl;
    }
    for (const QString &line : outcome.refusals)
        err << line << Qt::endl;
    if (!outcome.imported)
        return CheckReaderCommand::Incomplete;
    return outcome.report.isComplete() ? CheckReaderCommand::Complete
                                       : CheckReaderCommand::Incomplete;
}
