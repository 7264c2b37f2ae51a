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
    const bool woodworker = context.takeFlag(QStringLiteral("--woodworker")) || context.woodworkerSetting();
    return context.forEachProgram(
        QStringLiteral("lint"), [woodworker](MachineType machine, const QString& path, const DecodeResult& decoded) {
            QString report;
            for (const Finding& f : checkProgram(decoded.program, machine, woodworker))
                report += QStringLiteral("%1:%2: %3\n").arg(path).arg(fileLine(decoded, f)).arg(f.text());
            if (report.isEmpty())
                return int(kExitOk);
            CliContext::out(report);
            return int(kExitFailed);
        });
}

}  // namespace quillon::cli
