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
    const bool strict = context.takeFlag(QStringLiteral("--strict"));
    return context.forEachProgram(
        QStringLiteral("lint"), [woodworker, strict](MachineType machine, const QString& path, const DecodeResult& decoded) {
            QString report;
            bool errors = false;
            for (const Finding& f : checkProgram(decoded.program, machine, woodworker)) {
                const bool warning = f.severity == Finding::Severity::Warning;
                errors = errors || !warning;
                const QString text = warning ? f.rowName + QStringLiteral(": Warnung: ") + f.message : f.text();
                report += QStringLiteral("%1:%2: %3\n").arg(path).arg(fileLine(decoded, f)).arg(text);
            }
            CliContext::out(report);
            return int(errors || (strict && !report.isEmpty()) ? kExitFailed : kExitOk);
        });
}

}  // namespace quillon::cli
