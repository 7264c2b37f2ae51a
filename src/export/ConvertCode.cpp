#include "ConvertCode.h"

#include "ExportMessages.h"
#include "ExtractCode.h"
#include "MoveText.h"
#include "ProgramWalk.h"
#include "files/Cp1252.h"
#include "model/NumberFormat.h"

namespace quillon {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Line numbers are 16-bit on the machine side.
constexpr int kHighestLineNumber = 32767;

bool namesBillet(const QString& line)
{
    const QString upper = line.toUpper();
    return upper.contains(QLatin1String("DIAM")) && upper.contains(QLatin1String("BILLET"));
}

ExportResult failed(ExportStatus status, const QString& message)
{
    ExportResult result;
    result.status = status;
    result.message = message;
    return result;
}

}  // namespace

QString billetPrompt(bool inch)
{
    return QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein ")
           + (inch ? QStringLiteral(" (Zoll)") : QStringLiteral("(mm)"));
}

QString toolQuestion(const LineRecord& record)
{
    return QStringLiteral("Bitte wählen Sie das Werkzeug für den M06 Code in Zeile ") + QString::number(record.lineNumber)
           + kCrLf + kCrLf + record.text;
}

QString applyCommaRule(const QString& text)
{
    const qsizetype quote = text.indexOf(QLatin1Char('\''));
    if (quote < 0)
        return QString(text).replace(QLatin1Char(','), QLatin1Char('.'));
    return text.left(quote).replace(QLatin1Char(','), QLatin1Char('.')) + text.mid(quote);
}

std::optional<QString> strCommand(const WalkStep& step, int& counter, const ExportUnits& units,
                                  ExportQuestions& questions)
{
    const LineRecord& r = *step.record;
    QString text;
    switch (step.kind) {
    case WalkStep::Kind::End:
        return QStringLiteral("End");
    case WalkStep::Kind::ToolChange: {
        const std::optional<ToolAnswer> answer = questions.toolChoice(toolQuestion(r));
        if (!answer)
            return std::nullopt;
        counter += 10;
        text = QStringLiteral("N%1 T%2").arg(counter).arg(answer->tool);
        if (!r.comment.isEmpty())
            text += QStringLiteral(" '") + r.comment;
        counter += 10;
        text += kCrLf + QStringLiteral("N%1 S").arg(counter)
                + QString::number(leadingNumber(answer->speed), 'f', 0);
        return text;
    }
    case WalkStep::Kind::Moves:
        text = strMoveLines(counter, step.moves, units);
        break;
    case WalkStep::Kind::Nothing:
        break;
    }
    // Only G rows carry their comment into the file; a comment on a row that
    // makes no line becomes a comment line of its own.
    if (!r.isM() && !r.comment.isEmpty())
        text += QStringLiteral(" '") + r.comment;
    if (step.radiusFromCircleParameters)
        text += QStringLiteral(" '");
    return text;
}

ExportResult ConvertCode(const QString& text, MachineType machine, ExportQuestions& questions)
{
    const TraceScope trace(questions.tracer(), "modConvert", "ConvertCode");
    if (!isLathe(machine))
        return failed(ExportStatus::NotLathe, notLatheMessage());

    const ExtractedProgram program = ExtractCode(text, machine, MillRows::Skip, questions.tracer());
    const ExportUnits& units = program.units;
    QString out;
    const auto writeLine = [&out](const QString& line) { out += line + kCrLf; };

    writeLine(units.inch ? QStringLiteral("%I") : QStringLiteral("%"));
    bool billetNamed = false;
    QStringView description(program.description);
    while (!description.isEmpty()) {
        const qsizetype end = description.indexOf(kCrLf);
        const QString line = (end < 0 ? description : description.left(end)).toString();
        description = end < 0 ? QStringView() : description.mid(end + 2);
        writeLine(line.startsWith(QLatin1Char('*')) ? line : QLatin1Char('*') + line);
        billetNamed = billetNamed || namesBillet(line);
    }
    if (!billetNamed) {
        const std::optional<QString> diameter = questions.billetDiameter(billetPrompt(units.inch));
        if (!diameter)
            return failed(ExportStatus::Cancelled, QString());
        writeLine(QStringLiteral("*Werkstück Durchmesser: ") + *diameter
                  + (units.inch ? QStringLiteral(" (Zoll)") : QStringLiteral(" (mm)")));
    }
    writeLine(QStringLiteral("N10 T1"));
    writeLine(QStringLiteral("N20 S1000"));
    writeLine(units.inch ? QStringLiteral("N30 G0 X1 Z0.4") : QStringLiteral("N30 G0 X25 Z10"));

    int counter = 30;
    ProgramWalk walk(program);
    while (const std::optional<WalkStep> step = walk.next()) {
        const std::optional<QString> converted = strCommand(*step, counter, units, questions);
        if (!converted)
            return failed(ExportStatus::Failed, toolCancelledMessage(*step->record));
        if (counter > kHighestLineNumber)
            return failed(ExportStatus::Failed, lineLimitMessage());
        if (converted->isEmpty() || converted->startsWith(QLatin1String("End")))
            continue;
        writeLine(applyCommaRule(*converted));
    }
    if (walk.fault() != ProgramWalk::Fault::None)
        return failed(ExportStatus::Failed, walk.faultMessage());
    writeLine(QStringLiteral("%"));

    const Cp1252Encoding encoded = encodeCp1252(out);
    if (!encoded.ok())
        return failed(ExportStatus::Failed, unencodableMessage(encoded.unencodable));
    ExportResult result;
    result.status = ExportStatus::Done;
    result.bytes = encoded.bytes;
    return result;
}

}  // namespace quillon
