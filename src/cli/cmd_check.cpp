// lumora-cli check: every problem of the data folder as FILE:LINE: message.

#include "cli/cli.h"

#include "import/datachecker.h"

#include <QFileInfo>

namespace lumora::cli {

namespace {

int runCheck(Invocation& inv) {
    if (!inv.args().isEmpty()) return usageError(QStringLiteral("check takes no arguments"));
    // A folder that the program would refuse is still worth checking, so --data is taken as given.
    QString data;
    if (const auto given = inv.dataOptionValue()) {
        if (!QFileInfo(*given).isDir()) {
            fail(QStringLiteral("data folder does not exist: ") + *given);
            return kFailed;
        }
        data = QFileInfo(*given).absoluteFilePath();
    } else {
        data = inv.dataFolder();
        if (data.isEmpty()) return kFailed;
    }
    const auto problems = import::checkDataFolder(data);
    for (const auto& p : problems)
        writeLine(p.toText());
    return problems.empty() ? kOk : kFailed;
}

const Registrar registrar("check", "check", runCheck);

} // namespace
} // namespace lumora::cli
