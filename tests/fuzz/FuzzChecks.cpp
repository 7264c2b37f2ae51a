#include "FuzzChecks.h"
#include "../link/FakeTransport.h"

#include "export/ConvertCode.h"
#include "export/ExtractCode.h"
#include "export/ProgramWalk.h"
#include "export/ScriptedQuestions.h"
#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "link/ReceiveDisplay.h"
#include "link/ReceiveJob.h"
#include "link/ReceivedProgram.h"
#include "model/ProgramLine.h"
#include "preview/Toolpath.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

namespace quillon::fuzz {

const std::vector<FuzzTarget>& fuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"decode_f1", checkDecodeF1},
        {"decode_mark2", checkDecodeMark2},
        {"decode_mark4", checkDecodeMark4},
        {"export", checkExport},
        {"receive", checkReceive},
        {"toolpath", checkToolpath},
    };
    return targets;
}

bool walkIsShort(const ExtractedProgram& records)
{
    constexpr long kFuzzStepBudget = 5000;
    ProgramWalk walk(records);
    long steps = 0;
    while (walk.next())
        if (++steps > kFuzzStepBudget) return false;
    return true;
}

// Reading arbitrary bytes as a program text and writing it again: the first
// save may change bytes (short lines are filled out), saving again must not.
namespace {

const QString kHeaderStart = QStringLiteral("    N` G`");

// The rows a reader makes of the written lines: each line goes through the
// line parser again, header-like lines are not rows.
std::vector<ProgramRow> rowsAfterWriting(const Program& program, MachineType machine, bool* headerLike)
{
    std::vector<ProgramRow> rows;
    *headerLike = false;
    for (const ProgramRow& row : program.rows) {
        const QString line = programLineText(row, machine);
        if (line.startsWith(kHeaderStart)) {
            *headerLike = true;
            continue;
        }
        const ParsedLine parsed = parseProgramLine(line, false, machine);
        if (parsed.kind == ParsedLine::Kind::Row)
            rows.push_back(parsed.row);
    }
    return rows;
}

std::string checkDecode(const QByteArray& input, MachineType machine)
{
    const QString text = decodeCp1252(input);
    const DecodeResult first = blnDecodeBuffer(text, machine, Units::Imperial);
    if (first.program.description.contains(QLatin1Char('%')))
        return "description holds a %: " + first.program.description.toStdString();
    if (!first.unitsSeen && first.program.units != Units::Imperial) return "units changed without a unit line";
    for (const ProgramRow& row : first.program.rows)
        for (const QString& column : row.columns)
            if (column.contains(QChar(0))) return "a NUL reached a row";
    // Each row names a line of the text, in order; no two rows share one,
    // since a row ends at the line's CR LF and a line feed counts as a line.
    if (first.rowLines.size() != first.program.rows.size()) return "rows and their file lines differ in number";
    const int textLines = int(text.count(QLatin1Char('\n'))) + 1;
    for (std::size_t i = 0; i < first.rowLines.size(); ++i) {
        if (first.rowLines[i] < 1 || first.rowLines[i] > textLines
            || (i > 0 && first.rowLines[i] <= first.rowLines[i - 1]))
            return "a row's file line is out of order or beyond the text";
    }

    // Writing: either the program is refused with a reason, or every
    // character has its byte.
    QString problem;
    const std::optional<QByteArray> bytes = programFileBytes(first.program, machine, &problem);
    if (!bytes)
        return problem.isEmpty() ? "refused to write without a reason" : std::string();
    if (!bytes->endsWith(first.program.units == Units::Metric ? "   M\r\n" : "   \"\r\n"))
        return "written text does not end with its unit line";
    const QString written = strFileOutBuff(first.program, machine);

    // Read again, every written line comes back as the line parser reads it.
    const DecodeResult second = blnDecodeBuffer(decodeCp1252(*bytes), machine, Units::Imperial);
    QString notes = strFileOutBuff(Program{first.program.description, {}, Units::Metric}, machine);
    notes.truncate(notes.indexOf(QLatin1Char('%')));
    if (second.program.description != notes)
        return "description changed on re-reading: " + second.program.description.toStdString();

    bool headerLike = false;
    const std::vector<ProgramRow> expected = rowsAfterWriting(first.program, machine, &headerLike);
    // A row that a malformed line left as " N`" and " G`" is written as a
    // header line, which ends reading there (for the mill and Mark 4 the saved
    // file is then rejected). Nothing is asserted past that point.
    if (headerLike && machine != MachineType::Mark2) return std::string();
    if (second.program.units != first.program.units) return "units lost on re-reading";
    if (second.program.rows != expected) return "re-read rows differ from the written lines";
    if (first.accepted && !second.accepted)
        return "an accepted program is rejected after saving: " + second.message.toStdString();
    if (strFileOutBuff(second.program, machine) != written) return "saving the saved text again changes it";
    return std::string();
}

}  // namespace

std::string checkDecodeF1(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::F1); }
std::string checkDecodeMark2(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::Mark2); }
std::string checkDecodeMark4(const QByteArray& input, CheckRun) { return checkDecode(input, MachineType::Mark4); }

// The export conversion of arbitrary program texts with automatic answers.
// The first input byte chooses the machine (bit 0: Mark 2 or Mark 4), whether
// the text is first read and written again as a saved file would be (bit 1),
// and whether the billet question is answered (bit 2); the rest is the text.
std::string checkExport(const QByteArray& input, CheckRun run)
{
    if (input.isEmpty()) return std::string();
    const unsigned char mode = static_cast<unsigned char>(input[0]);
    const MachineType machine = (mode & 1) ? MachineType::Mark4 : MachineType::Mark2;
    QString text = decodeCp1252(input.mid(1));
    if (mode & 2)
        text = strFileOutBuff(blnDecodeBuffer(text, machine, Units::Metric).program, machine);
    const bool answerBillet = !(mode & 4);
    const std::optional<QString> billet = answerBillet ? std::optional<QString>(QStringLiteral("30")) : std::nullopt;

    if (run == CheckRun::Fuzzing && !walkIsShort(ExtractCode(text, machine))) return std::string();

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
        if (answerBillet || !questions.billetMissing()) return "cancelled although every question had its answer";
        return std::string();
    case ExportStatus::Failed:
        if (result.message.isEmpty()) return "failed without a message";
        if (!result.bytes.isEmpty()) return "a failed export still holds bytes";
        return std::string();
    case ExportStatus::Done:
        break;
    }

    if (questions.billetMissing()) return "done although the billet question went unanswered";
    const QString file = decodeCp1252(result.bytes);
    if (!file.startsWith(QLatin1String("%\r\n")) && !file.startsWith(QLatin1String("%I\r\n")))
        return "the file does not start with its unit mark";
    if (!file.endsWith(QLatin1String("\r\n%\r\n"))) return "the file does not end with its % line";
    // The numbered lines count up in steps and stay within 16 bits.
    static const QRegularExpression numbered(QStringLiteral("^N(\\d+) "));
    int last = 0;
    for (const QString& line : file.split(QStringLiteral("\r\n"))) {
        const QRegularExpressionMatch m = numbered.match(line);
        if (!m.hasMatch())
            continue;
        const int n = m.captured(1).toInt();
        if (n <= last) return "line numbers do not rise: " + line.left(40).toStdString();
        if (n > 32767) return "line number above 32767";
        last = n;
    }
    return std::string();
}

// The receive end detection fed by arbitrary chunks and port failures.
namespace {

struct CountingObserver : TransferObserver {
    int reports = 0, finishes = 0;
    TransferOutcome outcome = TransferOutcome::Running;
    void receivedTextChanged(const QString&) override {}
    void portFailed(const QString&) override { ++reports; }
    void finished(TransferOutcome o) override { ++finishes, outcome = o; }
};

// The receiver's silence timer needs an application object.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace

std::string checkReceive(const QByteArray& input, CheckRun)
{
    ensureApplication();
    test::FakeTransport port;
    CountingObserver observer;
    ReceiveJob job(port, QStringLiteral("COM1"), observer);
    job.start();
    if (!job.isRunning() || port.opens != 1) return "reception did not start on an open port";

    // The input is a script: a byte from 0xF8 up is an event (0xF8 a port
    // failure, 0xF9 Cancel); any other byte b announces a chunk of
    // (b & 0x3F) + 1 bytes that arrive at once.
    qsizetype i = 0;
    QByteArray arrived, whileRunning;
    while (i < input.size()) {
        const unsigned char b = static_cast<unsigned char>(input[i++]);
        const bool wasRunning = job.isRunning();
        if (b == 0xF8) {
            port.fail(PortError::ResourceGone);
        } else if (b == 0xF9) {
            job.cancel();
        } else if (b > 0xF9) {
            port.fail(PortError::Read);
        } else {
            const QByteArray chunk = input.mid(i, (b & 0x3F) + 1);
            i += chunk.size();
            if (wasRunning)
                whileRunning += chunk;
            arrived += chunk;
            port.feed(chunk);
        }
        if (job.isRunning() != port.isOpen()) return "port open state and running reception disagree";
    }

    if (observer.finishes > 1) return "the end was told more than once";
    if (observer.reports > 1) return "more than one port report";
    if (observer.reports == 1 && observer.outcome != TransferOutcome::PortError)
        return "a port report without the port-error end";
    if (job.isRunning() != (observer.finishes == 0)) return "running state and end notice disagree";

    // Nothing lost, nothing invented.
    // What the port still holds was never read; the rest was, in order.
    if (job.received() != arrived.left(arrived.size() - port.bytesAvailable())) return "received bytes differ from the bytes read";
    if (job.received() != whileRunning.left(job.received().size())) return "received bytes are not what arrived";
    if (job.isRunning() && job.received() != whileRunning) return "a running reception left arrived bytes unread";

    // The unit line at the display's start is exactly what ends a reception as complete.
    const QString text = decodeCp1252(job.received());
    if (!text.endsWith(job.display())) return "display is not the tail of the received text";
    const bool unitLine = displayStartsWithUnitLine(job.display());
    if (job.outcome() == TransferOutcome::Completed && !unitLine) return "completed without a unit line";
    if (job.isRunning() && unitLine) return "a unit line did not end the reception";

    if (decodeReceived(job.received(), MachineType::Mark4, Units::Metric).empty != job.received().isEmpty())
        return "an empty reception is not told apart";
    return std::string();
}

// The toolpath of arbitrary program texts. The first input byte chooses the
// machine (0 mill, 1 Mark 2, 2 Mark 4, by its value modulo 3); the rest is
// the text, read as a file is read. Whatever the rows hold, the drawing is
// made, ends, and every move is a finite one that names a row of the program.
namespace {

bool finite(const ToolPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Turning and pocket cycles draw at most six moves for one numbered line.
constexpr std::size_t kMostMoves = 6 * 3273;

}  // namespace

std::string checkToolpath(const QByteArray& input, CheckRun run)
{
    if (input.isEmpty()) return std::string();
    static constexpr MachineType kMachines[] = {MachineType::F1, MachineType::Mark2, MachineType::Mark4};
    const MachineType machine = kMachines[static_cast<unsigned char>(input[0]) % 3];
    const Program program = blnDecodeBuffer(decodeCp1252(input.mid(1)), machine, Units::Metric).program;
    if (run == CheckRun::Fuzzing && !walkIsShort(extractProgramRows(program, machine))) return std::string();

    const Toolpath path = buildToolpath(program, machine);
    if (buildToolpath(program, machine) != path) return "a second drawing of the same program differs";
    if (path.moves.size() > kMostMoves) return "more moves than the export could number";
    if (path.stopMessage.isEmpty() && path.stopRow != -1) return "a stop row without a stop message";
    const int rows = int(program.rows.size());
    if (path.stopRow < -1 || path.stopRow >= rows) return "the stop row is not a row of the program";
    if (machine != MachineType::F1 && path.billetDiameter && !(*path.billetDiameter > 0.0))
        return "a billet diameter that is not positive";
    for (const ToolpathMove& m : path.moves) {
        if (m.row < 0 || m.row >= rows) return "a move names no row of the program";
        if (!finite(m.from) || !finite(m.to) || !finite(m.centre) || !std::isfinite(m.radius) || m.radius < 0.0)
            return "a move that is not finite";
        if (machine != MachineType::F1 && (m.from.y != 0.0 || m.to.y != 0.0)) return "a lathe move leaves the XZ plane";
    }
    return std::string();
}

}  // namespace quillon::fuzz
