#include "export/ExportFile.h"
#include "export/ExportMessages.h"
#include "export/ScriptedQuestions.h"

#include "LatheProgram.h"
#include "QtPrinters.h"
#include "RecordingQuestions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

const QString kDescription = QStringLiteral("Billet diam 30");

QString rowLine(const LatheProgram& p, int row)
{
    // Description, "%" and the header stand before the rows.
    return p.text().split(QStringLiteral("\r\n"))[row + 3];
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Each fault ends the export with its message and leaves an existing file of
// the chosen name as it was.
void expectFailureKeepsFile(const LatheProgram& p, ExportQuestions& q, const QString& message)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("teil.spd"));
    writeFile(path, "old");
    const ExportResult r = exportProgramFile(p.text(), p.machine(), path, q);
    EXPECT_EQ(r.status, ExportStatus::Failed);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(readFile(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("teil.spd")});
}

}  // namespace

TEST(ExportFaults, MissingJumpTargetEndsOnlyTheExport)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G00", X(0), Z(0)).row("G27", {}, {}, letterF('L', 50)).row("M30");
    ScriptedQuestions q(std::nullopt, {});
    expectFailureKeepsFile(p, q,
                           QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden\r\n") + rowLine(p, 1)
                               + QStringLiteral("\r\nEs wurde keine Datei geschrieben."));
}

TEST(ExportFaults, ArcWithoutTravelNamesBothRows)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G90").row("G01", X(2000), Z(-1000), F(100)).row("G02", X(3000), Z(-1000), F(100)).row("M30");
    ScriptedQuestions q(std::nullopt, {});
    expectFailureKeepsFile(p, q,
                           QStringLiteral("Es ist ein Problem mit dem Bogen in der zweiten Zeile,\r\n"
                                          "er endet in einem 0 Radius\r\n\r\n")
                               + rowLine(p, 1) + QStringLiteral("\r\n") + rowLine(p, 2)
                               + QStringLiteral("\r\nEs wurde keine Datei geschrieben."));
}

TEST(ExportFaults, ReturnWithoutCall)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G00", X(0), Z(0)).row("M17").row("M30");
    ScriptedQuestions q(std::nullopt, {});
    expectFailureKeepsFile(p, q,
                           QStringLiteral("Der Rücksprungbefehl hat keinen Unterprogrammaufruf, zu dem er "
                                          "zurückkehren kann\r\n")
                               + rowLine(p, 1) + QStringLiteral("\r\nEs wurde keine Datei geschrieben."));
}

TEST(ExportFaults, PercentInTheDescriptionAndAnUnwritableFileWriteNothing)
{
    // The text ends its description at the first "%": the export would
    // keep only "Alu 50", so it refuses as Save does.
    LatheProgram percent(MachineType::Mark4, Units::Metric, QStringLiteral("Alu 50% Rest\r\nbillet diam 20"));
    percent.row("G00", X(0), Z(0)).row("M30");
    RecordingQuestions asked;
    expectFailureKeepsFile(percent, asked,
                           QStringLiteral("Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten.\r\n"
                                          "Es wurde keine Datei geschrieben."));
    EXPECT_TRUE(asked.asked.isEmpty());

    LatheProgram plain(MachineType::Mark4, Units::Metric, kDescription);
    plain.row("G00", X(0), Z(0)).row("M30");
    ScriptedQuestions q(std::nullopt, {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt/teil.spd"));
    const ExportResult r = exportProgramFile(plain.text(), plain.machine(), path, q);
    EXPECT_EQ(r.status, ExportStatus::Failed);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Die Exportdatei kann nicht geschrieben werden: ") + path
                                     + QStringLiteral("\r\n")));
    EXPECT_TRUE(r.message.endsWith(QStringLiteral("\r\nEs wurde keine Datei geschrieben."))) << r.message.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExportFaults, CancelledToolQuestion)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G00", X(0), Z(0)).row("M06", X(0), Z(0), letterF('T', 1)).row("M30");
    RecordingQuestions q;  // no tool answers: Cancel
    LineRecord record;
    record.lineNumber = 1;
    expectFailureKeepsFile(p, q, toolCancelledMessage(record));
    EXPECT_EQ(q.asked.size(), 1);
}

TEST(ExportFaults, BackwardJumpStopsAtTheLineLimit)
{
    // With moves in the loop the line numbers run out ...
    LatheProgram moving(MachineType::Mark4, Units::Metric, kDescription);
    moving.row("G90").row("G00", X(0), Z(0)).row("G27", {}, {}, letterF('L', 1));
    ScriptedQuestions q(std::nullopt, {});
    expectFailureKeepsFile(moving, q, lineLimitMessage());

    // ... and without any the walk stops after a bounded number of rows.
    LatheProgram idle(MachineType::Mark4, Units::Metric, kDescription);
    idle.row("G90").row("G27", {}, {}, letterF('L', 0));
    expectFailureKeepsFile(idle, q, lineLimitMessage());

    LatheProgram self(MachineType::Mark4, Units::Metric, kDescription);
    self.row("G90").row("G27", {}, {}, letterF('L', 1));
    expectFailureKeepsFile(self, q, lineLimitMessage());
}

// Nine moves, then `calls` calls of a subroutine of 204 moves.
LatheProgram longProgram(int calls)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G90");
    for (int i = 0; i < 9; ++i)
        p.row("G00", X(0), Z(i));
    for (int i = 0; i < calls; ++i)
        p.row("G25", {}, {}, letterF('L', 11 + calls));
    p.row("M30");
    for (int i = 0; i < 204; ++i)
        p.row("G00", X(0), Z(i));
    p.row("M17");
    return p;
}

TEST(ExportFaults, LongestFileStillFits)
{
    // 9 + 16 * 204 = 3273 lines take the numbers from N40 up to N32760.
    ScriptedQuestions q(std::nullopt, {});
    const LatheProgram fits = longProgram(16);
    const ExportResult r = ConvertCode(fits.text(), fits.machine(), q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_TRUE(r.bytes.endsWith("\r\nN32760 G0 X0.00 Z2.03\r\n%\r\n"));

    const LatheProgram over = longProgram(17);
    EXPECT_EQ(ConvertCode(over.text(), over.machine(), q).message, lineLimitMessage());
}

TEST(ExportFaults, CancelledBilletWritesNothing)
{
    LatheProgram p(MachineType::Mark4);
    p.row("G00", X(0), Z(0)).row("M30");
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("neu.spd"));
    const QString old = dir.filePath(QStringLiteral("alt.spd"));
    writeFile(old, "old");
    ScriptedQuestions q(std::nullopt, {});
    EXPECT_EQ(exportProgramFile(p.text(), p.machine(), fresh, q).status, ExportStatus::Cancelled);
    EXPECT_EQ(exportProgramFile(p.text(), p.machine(), old, q).status, ExportStatus::Cancelled);
    EXPECT_TRUE(q.billetMissing());
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(readFile(old), QByteArray("old"));

    // Answered, the file replaces the old one.
    ScriptedQuestions answered(QStringLiteral("25"), {});
    ASSERT_EQ(exportProgramFile(p.text(), p.machine(), old, answered).status, ExportStatus::Done);
    EXPECT_TRUE(readFile(old).startsWith("%\r\n*Werkst\xFC" "ck Durchmesser: 25 (mm)\r\nN10 T1\r\n"));
}

TEST(ExportFaults, UnwritableTargetIsReported)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("M30");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt/teil.spd"));
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = exportProgramFile(p.text(), p.machine(), path, q);
    EXPECT_EQ(r.status, ExportStatus::Failed);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Die Exportdatei kann nicht geschrieben werden: ") + path));
}

TEST(ExportFaults, EveryExportStartsFromTheSameState)
{
    // Leaves absolute mode on, F 250, H and inch units behind.
    LatheProgram first(MachineType::Mark4, Units::Imperial, kDescription);
    first.row("G90").row("G84", X(500), Z(-500), F(250), H(20)).row("G01", X(400), Z(0), F(250));
    // Relies on the starting state: incremental, no feed read yet, metric.
    LatheProgram second(MachineType::Mark4, Units::Metric, kDescription);
    second.row("G00", X(-250), Z(0)).row("G81", {}, Z(-100));
    const QString secondWithoutUnitLine = second.text().chopped(4);  // "   M" dropped

    ScriptedQuestions q(std::nullopt, {});
    const ExportResult alone = ConvertCode(second.text(), second.machine(), q);
    ASSERT_EQ(ConvertCode(first.text(), first.machine(), q).status, ExportStatus::Done);
    const ExportResult after = ConvertCode(second.text(), second.machine(), q);
    ASSERT_EQ(ConvertCode(first.text(), first.machine(), q).status, ExportStatus::Done);
    const ExportResult noUnits = ConvertCode(secondWithoutUnitLine, second.machine(), q);
    EXPECT_EQ(after.bytes, alone.bytes);
    EXPECT_EQ(noUnits.bytes, alone.bytes);
    EXPECT_TRUE(alone.bytes.endsWith("N30 G0 X25 Z10\r\nN40 G0 X20.00 Z10.00\r\nN50 G1 X20.00 Z9.00 F0\r\n"
                                     "N60 G0 X20.00 Z10.00\r\n%\r\n"));
}

TEST(ExportFaults, CommentEndingInMOrQuoteIsStillARow)
{
    LatheProgram p(MachineType::Mark4, Units::Imperial, kDescription);
    p.row("G90")
        .row("G00", X(500), Z(100), {}, {}, QStringLiteral("Spannen M"))
        .row("G00", X(600), Z(100), {}, {}, QStringLiteral("Bohrung 1/2\""))
        .row("G00", X(700), Z(100))
        .row("M30");
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = ConvertCode(p.text(), p.machine(), q);
    ASSERT_EQ(r.status, ExportStatus::Done);
    EXPECT_TRUE(r.bytes.startsWith("%I\r\n"));
    EXPECT_TRUE(r.bytes.endsWith("N40 G0 X0.500 Z0.100 'Spannen M\r\nN50 G0 X0.600 Z0.100 'Bohrung 1/2\"\r\n"
                                 "N60 G0 X0.700 Z0.100\r\n%\r\n"));
}

TEST(ExportFaults, MillIsNotExported)
{
    ScriptedQuestions q(QStringLiteral("30"), {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fraes.spd"));
    const ExportResult r = exportProgramFile(QStringLiteral("%\r\n   M"), MachineType::F1, path, q);
    EXPECT_EQ(r.status, ExportStatus::NotLathe);
    EXPECT_EQ(r.message, notLatheMessage());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExportWalk, CallsInARowAndStrayCircleParameters)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G90")
        .row("G25", {}, {}, letterF('L', 5))
        .row("G25", {}, {}, letterF('L', 7))
        .row("M99", letterX('I', 300), letterZ('K', 400))  // no arc before it: nothing
        .row("M30")
        .row("G00", X(100), Z(100))  // 5
        .row("M17")
        .row("G00", X(200), Z(200))  // 7
        .row("M17");
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = ConvertCode(p.text(), p.machine(), q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_TRUE(r.bytes.endsWith("N30 G0 X25 Z10\r\nN40 G0 X1.00 Z1.00\r\nN50 G0 X2.00 Z2.00\r\n%\r\n"));
}

TEST(ExportWalk, UnencodableCommentIsRefused)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G00", X(0), Z(0), {}, {}, QStringLiteral("Pfeil \u2192")).row("M30");
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = ConvertCode(p.text(), p.machine(), q);
    EXPECT_EQ(r.status, ExportStatus::Failed);
    EXPECT_EQ(r.message, unencodableMessage(QStringLiteral("\u2192")));
}

TEST(ExportWalk, NestedCallReturnsToItsCaller)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, kDescription);
    p.row("G90")
        .row("G25", {}, {}, letterF('L', 4))
        .row("G00", X(900), Z(900))
        .row("M30")
        .row("G00", X(100), Z(100))  // 4: outer subroutine, ends with a call
        .row("G25", {}, {}, letterF('L', 7))
        .row("M17")
        .row("G00", X(200), Z(200))  // 7: inner subroutine
        .row("M17");
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = ConvertCode(p.text(), p.machine(), q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_TRUE(r.bytes.endsWith("N30 G0 X25 Z10\r\nN40 G0 X1.00 Z1.00\r\nN50 G0 X2.00 Z2.00\r\n"
                                 "N60 G0 X9.00 Z9.00\r\n%\r\n"));
}

TEST(ExportWalk, SignInTheFirstPlaceOfAColumnIsRead)
{
    // As a file made outside the editor may write it: "-  2000" instead of " - 2000".
    const QString text = QStringLiteral("Billet diam 30\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                        "    00 90                      \r\n"
                                        "    01 01- 1000-  2000 100    \r\n"
                                        "    02 01 -1000 - 2000 100    \r\n   M");
    ScriptedQuestions q(std::nullopt, {});
    const ExportResult r = ConvertCode(text, MachineType::Mark4, q);
    ASSERT_EQ(r.status, ExportStatus::Done);
    EXPECT_TRUE(r.bytes.endsWith("N40 G1 X-10.00 Z-20.00 F100\r\nN50 G1 X-10.00 Z-20.00 F100\r\n%\r\n"));
}
