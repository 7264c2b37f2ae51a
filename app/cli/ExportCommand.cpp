#include "CliCommands.h"
#include "CliContext.h"

#include "export/ExportFile.h"
#include "export/ExportMessages.h"
#include "export/ScriptedQuestions.h"

namespace quillon::cli {

namespace {

// The export's messages are written for a message box (CR LF, sometimes a
// trailing break); on a terminal they end in one newline.
int fail(int exitCode, const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    CliContext::err(QStringLiteral("quillon-cli: ") + text + QLatin1Char('\n'));
    return exitCode;
}

}  // namespace

int runExportCommand(CliContext& context)
{
    QString error;
    const std::optional<MachineType> machine = context.machine(&error);
    if (!machine)
        return CliContext::usageError(error);
    const std::optional<QString> out = context.takeOption(QStringLiteral("-o"), &error);
    const std::optional<QString> billet = context.takeOption(QStringLiteral("--billet"), &error);
    const QStringList toolTexts = context.takeOptionAll(QStringLiteral("--tool"), &error);
    if (!error.isEmpty())
        return CliContext::usageError(error);
    const std::optional<QStringList> files = context.positionals(&error);
    if (!files)
        return CliContext::usageError(error);
    if (files->size() != 1 || !out || out->isEmpty())
        return CliContext::usageError(QStringLiteral("export takes exactly one FILE and -o OUT"));
    if (billet && !billetDiameterAccepted(*billet))
        return CliContext::usageError(QStringLiteral("--billet must be digits and a point, above 0: ") + *billet);
    std::vector<ScriptedQuestions::Tool> tools;
    for (const QString& t : toolTexts) {
        const std::optional<ScriptedQuestions::Tool> tool = ScriptedQuestions::parseTool(t, &error);
        if (!tool)
            return CliContext::usageError(QStringLiteral("--tool ") + error);
        tools.push_back(*tool);
    }
    if (!isLathe(*machine))
        return fail(kExitUsage, notLatheMessage());

    const QString& path = files->front();
    const std::optional<DecodeResult> decoded = context.loadProgram(path, *machine, &error);
    if (!decoded)
        return CliContext::usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
    if (!decoded->accepted)
        return fail(kExitFailed, QStringLiteral("%1: rejected: %2").arg(path, decoded->message));

    ScriptedQuestions questions(billet, std::move(tools));
    const ExportResult result =
        exportProgramFile(strFileOutBuff(decoded->program, *machine), *machine, *out, questions);
    switch (result.status) {
    case ExportStatus::Done:
        return kExitOk;
    case ExportStatus::Cancelled:
        return fail(kExitFailed, QStringLiteral("the program description does not name the billet diameter; "
                                                "give it with --billet D. Nothing was written."));
    case ExportStatus::NotLathe:
        return fail(kExitUsage, result.message);
    case ExportStatus::Failed:
        break;
    }
    return fail(kExitFailed, result.message);
}

}  // namespace quillon::cli
