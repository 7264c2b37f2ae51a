// The export conversion of arbitrary program texts with automatic answers.
// The first input byte chooses the machine (bit 0: Mark 2 or Mark 4), whether
// the text is first read and written again as a saved file would be (bit 1),
// and whether the billet question is answered (bit 2); the rest is the text.
#include "FuzzChecks.h"

#include "export/ConvertCode.h"
#include "export/ExtractCode.h"
#include "export/ScriptedQuestions.h"
#include "files/Cp1252.h"
#include "files/ProgramText.h"

#include <QRegularExpression>

namespace quillon::fuzz {

std::string checkExport(const QByteArray& input, CheckRun run)
{
    if (input.isEmpty())
        return std::string();
    const unsigned char mode = static_cast<unsigned char>(input[0]);
    const MachineType machine = (mode & 1) ? MachineType::Mark4 : MachineType::Mark2;
    QString text = decodeCp1252(input.mid(1));
    if (mode & 2)
        text = strFileOutBuff(blnDecodeBuffer(text, machine, Units::Metric).program, machine);
    const bool answerBillet = !(mode & 4);
    const std::optional<QString> billet = answerBillet ? std::optional<QString>(QStringLiteral("30")) : std::nullopt;

    if (run == CheckRun::Fuzzing && !walkIsShort(ExtractCode(text, machine)))
        return std::string();

    ScriptedQuestions questions(billet, {{3, QStringLiteral("800")}, {5, std::nullopt}});
    const ExportResult result = ConvertCode(text, machine, questions);

    // Every call starts from the same state: the same text gives the same file.
    ScriptedQuestions again(billet, {{3, QStringLiteral("800")}, {5, std::nullopt}});
    const ExportResult second = ConvertCode(text, machine, again);
    if (second.status != result.status || second.bytes != result.bytes || second.message != result.message)
        return "a second conversion of the same text differs";

    switch (result.status) {
    case ExportStatus::NotLathe:
        return "a lathe program counted as not a lathe program";
    case ExportStatus::Cancelled:
        if (answerBillet || !questions.billetMissing())
            return "cancelled although every question had its answer";
        return std::string();
    case ExportStatus::Failed:
        if (result.message.isEmpty())
            return "failed without a message";
        if (!result.bytes.isEmpty())
            return "a failed export still holds bytes";
        return std::string();
    case ExportStatus::Done:
        break;
    }

    if (questions.billetMissing())
        return "done although the billet question went unanswered";
    const QString file = decodeCp1252(result.bytes);
    if (!file.startsWith(QLatin1String("%\r\n")) && !file.startsWith(QLatin1String("%I\r\n")))
        return "the file does not start with its unit mark";
    if (!file.endsWith(QLatin1String("\r\n%\r\n")))
        return "the file does not end with its % line";
    // The numbered lines count up in steps and stay within 16 bits.
    static const QRegularExpression numbered(QStringLiteral("^N(\\d+) "));
    int last = 0;
    for (const QString& line : file.split(QStringLiteral("\r\n"))) {
        const QRegularExpressionMatch m = numbered.match(line);
        if (!m.hasMatch())
            continue;
        const int n = m.captured(1).toInt();
        if (n <= last)
            return "line numbers do not rise: " + line.left(40).toStdString();
        if (n > 32767)
            return "line number above 32767";
        last = n;
    }
    return std::string();
}

}  // namespace quillon::fuzz
