#include "CheckReaderCommand.h"

#include "ReaderCheck.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {
const char *const Option = "--check-reader";
}

bool CheckReaderCommand::isRequested(int argc, const char *const *argv)
{
    return argc > 1 && std::strcmp(argv[1], Option) == 0;
}

int CheckReaderCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 3 || arguments.at(1) != QLatin1String(Option)) {
        err << tr("使い方: %1 --check-reader フォルダ")
                   .arg(QFileInfo(arguments.value(0)).fileName())
            << Qt::endl;
        return BadArguments;
    }
    const QString folder = arguments.at(2);
    if (!QFileInfo(folder).isDir()) {
        err << tr("フォルダがありません: %1").arg(folder) << Qt::endl;
        return BadArguments;
    }
    const ReaderReport report = ReaderCheck::checkFolder(folder);
    const QStringList lines = report.lines();
    for (const QString &line : lines)
        out << line << Qt::endl;
    return report.isComplete() ? Complete : Incomplete;
}
