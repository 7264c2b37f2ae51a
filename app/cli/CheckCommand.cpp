#include "CliCommands.h"
#include "CliContext.h"

namespace quillon::cli {

int runCheckCommand(CliContext& context)
{
    return context.forEachProgram(QStringLiteral("check"), [](MachineType, const QString& path, const DecodeResult& decoded) {
        CliContext::out(QStringLiteral("%1: ok, %2 rows, %3\n")
                            .arg(path)
                            .arg(decoded.program.rows.size())
                            .arg(decoded.program.units == Units::Imperial ? QStringLiteral("imperial")
                                                                          : QStringLiteral("metric")));
        return int(kExitOk);
    });
}

}  // namespace quillon::cli
