#include "CliCommands.h"
#include "CliContext.h"

namespace quillon::cli {

int runCheckCommand(CliContext& context)
{
    QString error;
    const std::optional<MachineType> machine = context.machine(&error);
    if (!machine)
        return CliContext::usageError(error);
    const std::optional<QStringList> files = context.positionals(&error);
    if (!files)
        return CliContext::usageError(error);
    if (files->isEmpty())
        return CliContext::usageError(QStringLiteral("check needs at least one FILE"));

    int exitCode = kExitOk;
    for (const QString& path : *files) {
        const std::optional<DecodeResult> result = context.loadProgram(path, *machine, &error);
        if (!result) {
            CliContext::usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
            exitCode = kExitUsage;
            continue;
        }
        if (result->accepted) {
            CliContext::out(QStringLiteral("%1: ok, %2 rows, %3\n")
                                .arg(path)
                                .arg(result->program.rows.size())
                                .arg(result->program.units == Units::Imperial ? QStringLiteral("imperial")
                                                                              : QStringLiteral("metric")));
        } else {
            CliContext::out(QStringLiteral("%1: rejected: %2\n").arg(path, result->message));
            if (exitCode == kExitOk)
                exitCode = kExitFailed;
        }
    }
    return exitCode;
}

}  // namespace quillon::cli
