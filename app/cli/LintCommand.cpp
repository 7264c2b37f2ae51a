#include "CliCommands.h"
#include "CliContext.h"

#include "check/ProgramCheck.h"

namespace quillon::cli {

namespace {

// The file line a finding points at: its row's line, or for a finding about
// the whole program the last row's line (where an end would be missing), or
// line 1 when there are no rows.
int fileLine(const DecodeResult& decoded, const Finding& finding)
{
    if (finding.row >= 0 && std::size_t(finding.row) < decoded.rowLines.size())
        return decoded.rowLines[std::size_t(finding.row)];
    return decoded.rowLines.empty() ? 1 : decoded.rowLines.back();
}

}  // namespace

int runLintCommand(CliContext& context)
{
    const bool woodworkerFlag = context.takeFlag(QStringLiteral("--woodworker"));
    QString error;
    const std::optional<MachineType> machine = context.machine(&error);
    if (!machine)
        return CliContext::usageError(error);
    const std::optional<QStringList> files = context.positionals(&error);
    if (!files)
        return CliContext::usageError(error);
    if (files->isEmpty())
        return CliContext::usageError(QStringLiteral("lint needs at least one FILE"));

    CodeTables tables;
    tables.GetCommands(*machine, woodworkerFlag || context.woodworkerSetting());
    int exitCode = kExitOk;
    for (const QString& path : *files) {
        const std::optional<DecodeResult> result = context.loadProgram(path, *machine, &error);
        if (!result) {
            CliContext::usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
            exitCode = kExitUsage;
            continue;
        }
        if (!result->accepted) {
            CliContext::out(QStringLiteral("%1: rejected: %2\n").arg(path, result->message));
            if (exitCode == kExitOk)
                exitCode = kExitFailed;
            continue;
        }
        QString report;
        for (const Finding& f : checkProgram(result->program, *machine, tables))
            report += QStringLiteral("%1:%2: %3\n").arg(path).arg(fileLine(*result, f)).arg(f.text());
        if (!report.isEmpty()) {
            CliContext::out(report);
            if (exitCode == kExitOk)
                exitCode = kExitFailed;
        }
    }
    return exitCode;
}

}  // namespace quillon::cli
