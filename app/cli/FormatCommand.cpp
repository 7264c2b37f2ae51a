#include "CliCommands.h"
#include "CliContext.h"

#include "files/ProgramFile.h"

namespace quillon::cli {

int runFormatCommand(CliContext& context)
{
    QString error;
    const std::optional<MachineType> machine = context.machine(&error);
    if (!machine)
        return CliContext::usageError(error);
    const std::optional<QStringList> files = context.positionals(&error);
    if (!files)
        return CliContext::usageError(error);
    if (files->size() != 1)
        return CliContext::usageError(QStringLiteral("format takes exactly one FILE"));

    const QString& path = files->front();
    const std::optional<DecodeResult> result = context.loadProgram(path, *machine, &error);
    if (!result)
        return CliContext::usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
    if (!result->accepted) {
        CliContext::err(QStringLiteral("%1: rejected: %2\n").arg(path, result->message));
        return kExitFailed;
    }
    QString problem;
    const std::optional<QByteArray> bytes = programFileBytes(result->program, *machine, &problem);
    if (!bytes) {
        CliContext::err(QStringLiteral("%1: %2\n").arg(path, problem));
        return kExitFailed;
    }
    CliContext::outBytes(*bytes);
    return kExitOk;
}

}  // namespace quillon::cli
