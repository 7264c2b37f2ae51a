#include "CliCommands.h"
#include "CliContext.h"

#include "files/ProgramFile.h"

namespace quillon::cli {

int runFormatCommand(CliContext& context)
{
    int exitCode = kExitOk;
    const std::optional<CliContext::OneProgram> loaded = context.takeOneProgram(QStringLiteral("format"), &exitCode);
    if (!loaded)
        return exitCode;
    QString problem;
    const std::optional<QByteArray> bytes = programFileBytes(loaded->program, loaded->machine, &problem);
    if (!bytes) {
        CliContext::err(QStringLiteral("%1: %2\n").arg(loaded->path, problem));
        return kExitFailed;
    }
    CliContext::outBytes(*bytes);
    return kExitOk;
}

}  // namespace quillon::cli
