#include "export/ConvertCode.h"
#include "export/ExportFile.h"
#include "export/ExportNumber.h"
#include "export/MoveText.h"

#include "CliRun.h"
#include "ProgramBuilder.h"
#include "QtPrinters.h"

#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <deque>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Answers from a list and remembers what was asked; an empty list (or an
// unset billet) answers as Cancel does.
struct RecordingQuestions : ExportQuestions {
    std::optional<QString> billet;
    std::deque<ToolAnswer> tools;
    QStringList asked;
    std::optional<QString> billetDiameter(const QString& prompt) override { asked << prompt; return billet; }
    std::optional<ToolAnswer> toolChoice(const QString& question) override
    {
        asked << question;
        std::optional<ToolAnswer> a;
        if (!tools.empty())
            a = tools.front(), tools.pop_front();
        return a;
    }
};

const QString kDescription = QStringLiteral("Billet diam 30");
const QString kNoFile = QStringLiteral("\r\nEs wurde keine Datei geschrieben.");

// Description, "%" and the header stand before the rows.
QString rowLine(const ProgramBuilder& p, int row) { return p.text().split(QStringLiteral("\r\n"))[row + 3]; }

}  // namespace

TEST(ConvertCode, ExactFilesForBothLathesAndBothUnits)
{
    struct Case {
        const char* name;
        ProgramBuilder program;
        std::optional<QString> billet;
        std::vector<ToolAnswer> tools;
        QByteArray expected;
        QStringList asked;
    };
    ProgramBuilder mark4(MachineType::Mark4, Units::Metric, QStringLiteral("Welle 12\r\nRohteil: Billet Diam. 30 mm\r\n"));
    mark4.row("G90").row("G00", X(2000), Z(200)).row("G01", X(2000), Z(-1000), F(100), {}, QStringLiteral("Schruppen, 1. Schnitt"))
        .row("G91").row("G01", X(-250), Z(0), F(80)).row("G90").row("G02", X(2500), Z(-1500), F(100))
        .row("M99", letterX('I', 0), letterZ('K', 500)).row("G03", X(3000), Z(-2000), F(50))
        .row("M06", X(0), Z(0), letterF('T', 1), {}, QStringLiteral("Bohrer")).row("G00", X(0), Z(200)).row("G81", {}, Z(-1000), F(50))
        .row("G82", {}, Z(-500), F(50)).row("G85", {}, Z(-800), F(40)).row("G89", {}, Z(-800), F(40), {}, QStringLiteral("Reiben"))
        .row("G73", {}, Z(-500), F(30)).comment("M05", QStringLiteral("Spindel aus")).row("M30").row("G00", X(0), Z(0));
    ProgramBuilder calls(MachineType::Mark4, Units::Metric, QStringLiteral("Teil 7"));
    // Row 0 is incremental from X 25 (a diameter of 20); row 6 the subroutine, row 9 the jump target.
    calls.row("G00", X(-250), Z(0)).row("G90").row("G92", X(3000), Z(500)).row("G25", {}, {}, letterF('L', 6))
        .row("G27", {}, {}, letterF('L', 9)).comment("M30", QStringLiteral("nie erreicht")).row("G01", X(2800), Z(0), F(120))
        .row("G00", X(3000), Z(500)).row("M17").row("G04", X(50)).row("G84", X(2000), Z(-3000), F(80), H(50))
        .row("G78", X(1800), Z(-2000), letterF('K', 150), H(30)).comment("G90", QStringLiteral("Kommentar, mit Komma"))
        .comment("M03", QStringLiteral("Spindel")).row("M30").row("G00", X(0), Z(0));
    ProgramBuilder inch(MachineType::Mark4, Units::Imperial, QStringLiteral("*Buchse"));
    inch.row("G90").row("G00", X(500), Z(100)).row("G73", {}, Z(-200), F(25)).row("G91").row("G01", X(-50), Z(-100), F(30)).row("M30");
    ProgramBuilder mark2(MachineType::Mark2);
    mark2.row("G90").row("G00", X(2000), Z(200)).row("G01", X(2000), Z(-1000), F(100), {}, QStringLiteral("Schlichten"))
        .row("G02", X(3000), Z(-1500), F(80)).row("G26", X(0), Z(0), F(2), {}, QStringLiteral("Werkzeug 2")).row("G33", {}, Z(-2000), F(150))
        .row("G22").row("G00", X(0), Z(0));
    ProgramBuilder deep(MachineType::Mark4, Units::Metric, QStringLiteral("billet diameter 20"));
    deep.row("G90").row("G00", X(0), Z(500)).row("G01", X(0), Z(200), F(100)).row("G83", {}, Z(-2000), F(100)).row("M30");
    // A sign in the first place of a column, as a file made elsewhere may write it.
    ProgramBuilder signs(MachineType::Mark4, Units::Metric, kDescription);
    signs.row("G90").row("G01", QStringLiteral("- 1000"), QStringLiteral("-  2000"), F(100)).row("G01", QStringLiteral(" -1000"), QStringLiteral(" - 2000"), F(100));
    // Calls in a row, a nested call, and circle parameters with no arc before them.
    ProgramBuilder nested(MachineType::Mark4, Units::Metric, kDescription);
    nested.row("G90").row("G25", {}, {}, letterF('L', 5)).row("G25", {}, {}, letterF('L', 9))
        .row("M99", letterX('I', 300), letterZ('K', 400)).row("M30")
        .row("G00", X(100), Z(100)).row("G25", {}, {}, letterF('L', 9)).row("G00", X(300), Z(300)).row("M17")  // 5
        .row("G00", X(200), Z(200)).row("M17");                                                                 // 9
    // Comments ending in "M" or '"' are no unit line.
    ProgramBuilder unitLike(MachineType::Mark4, Units::Imperial, kDescription);
    unitLike.row("G90").row("G00", X(500), Z(100), {}, {}, QStringLiteral("Spannen M"))
        .row("G00", X(600), Z(100), {}, {}, QStringLiteral("Bohrung 1/2\"")).row("G00", X(700), Z(100)).row("M30");

    const QString head = "N10 T1\r\nN20 S1000\r\nN30 G0 X25 Z10\r\n";
    Case cases[] = {
        {"metric Mark 4 with the billet in the description", mark4, {}, {{9, QStringLiteral("1500")}},
         fileBytes({"%", "*Welle 12", "*Rohteil: Billet Diam. 30 mm", "N10 T1", "N20 S1000", "N30 G0 X25 Z10",
                    "N40 G0 X20.00 Z2.00", "N50 G1 X20.00 Z-10.00 F100 'Schruppen, 1. Schnitt", "N60 G1 X15.00 Z-10.00 F80",
                    "N70 G2 X25.00 Z-15.00 R5.00F100 '", "N80 G3 X30.00 Z-20.00 R5.00F50", "N90 T9 'Bohrer", "N100 S1500",
                    "N110 G0 X0.00 Z2.00", "N120 G1 X0.00 Z-10.00 F50", "N130 G0 X0.00 Z2.00",
                    "N140 G1 X0.00 Z-5.00 F50", "N150 G4 X0.5", "N160 G0 X0.00 Z2.00",
                    "N170 G1 X0.00 Z-8.00 F40", "N180 G1 X0.00 Z2.00",
                    "N190 G1 X0.00 Z-8.00 F40", "N200 G4 X0.5", "N210 G1 X0.00 Z2.00 'Reiben",
                    "N220 G1 X0.00 Z0.00 F30", "N230 G0 X0.00 Z0.20", "N240 G1 X0.00 Z-1.80 F30", "N250 G0 X0.00 Z-1.60",
                    "N260 G1 X0.00 Z-3.60 F30", "N270 G0 X0.00 Z-3.40", "N280 G1 X0.00 Z-5.00 F30", "N290 G0 X0.00 Z2.00", "%"}),
         {QStringLiteral("Bitte wählen Sie das Werkzeug für den M06 Code in Zeile 9\r\n\r\n    09M06    00     00T 01     Bohrer")}},
        {"call, return, jump, position set and turning cycles", calls, QStringLiteral("30"), {},
         fileBytes({"%", "*Teil 7", "*Werkstück Durchmesser: 30 (mm)", "N10 T1", "N20 S1000", "N30 G0 X25 Z10",
                    "N40 G0 X20.00 Z10.00", "N50 G1 X28.00 Z0.00 F120", "N60 G0 X30.00 Z5.00", "N70 G4 X30",
                    "N80 G84 X20.00 Z-30.00 F80 H0.50", "N90 G78 X18.00 Z-20.00 F1.50 H0.30", " 'Kommentar, mit Komma", "%"}),
         {QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein (mm)")}},
        {"inch pecks in thousandths", inch, QStringLiteral("1.25"), {},
         fileBytes({"%I", "*Buchse", "*Werkstück Durchmesser: 1.25 (Zoll)", "N10 T1", "N20 S1000", "N30 G0 X1 Z0.4",
                    "N40 G0 X0.500 Z0.100", "N50 G1 X0.500 Z0.021 F2.5", "N60 G0 X0.500 Z0.029", "N70 G1 X0.500 Z-0.050 F2.5",
                    "N80 G0 X0.500 Z-0.042", "N90 G1 X0.500 Z-0.121 F2.5", "N100 G0 X0.500 Z-0.113", "N110 G1 X0.500 Z-0.192 F2.5",
                    "N120 G0 X0.500 Z-0.184", "N130 G1 X0.500 Z-0.200 F2.5", "N140 G0 X0.500 Z0.100", "N150 G1 X0.400 Z0.000 F3.0", "%"}),
         {QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein  (Zoll)")}},
        {"Mark 2 with arc, tool change and thread", mark2, QStringLiteral("40"), {{1, QStringLiteral("1000")}},
         fileBytes({"%", "*Werkstück Durchmesser: 40 (mm)", "N10 T1", "N20 S1000", "N30 G0 X25 Z10", "N40 G0 X20.00 Z2.00",
                    "N50 G1 X20.00 Z-10.00 F100 'Schlichten", "N60 G2 X30.00 Z-15.00 R5.00F80", "N70 T1 'Werkzeug 2", "N80 S1000",
                    "N90 G33 X30.00 Z-20.00 F150", "%"}),
         {QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein (mm)"),
          QStringLiteral("Bitte wählen Sie das Werkzeug für den M06 Code in Zeile 4\r\n\r\n   N04 G26 X   00 Z    00 F 02 Werkzeug 2")}},
        {"deep hole", deep, {}, {},
         fileBytes({"%", "*billet diameter 20", "N10 T1", "N20 S1000", "N30 G0 X25 Z10", "N40 G0 X0.00 Z5.00",
                    "N50 G1 X0.00 Z2.00 F100", "N60 G1 X0.00 Z-4.00 F100", "N70 G0 X0.00 Z2.00", "N80 G0 X0.00 Z-3.50",
                    "N90 G1 X0.00 Z-9.50 F100", "N100 G0 X0.00 Z2.00", "N110 G0 X0.00 Z-9.00", "N120 G1 X0.00 Z-15.00 F100",
                    "N130 G0 X0.00 Z2.00", "N140 G0 X0.00 Z-14.50", "N150 G1 X0.00 Z-20.00 F100", "N160 G0 X0.00 Z2.00", "%"}),
         {}},
        {"signs in the first place", signs, {}, {},
         "%\r\n*Billet diam 30\r\n" + head.toLatin1() + "N40 G1 X-10.00 Z-20.00 F100\r\nN50 G1 X-10.00 Z-20.00 F100\r\n%\r\n", {}},
        {"nested calls", nested, {}, {},
         "%\r\n*Billet diam 30\r\n" + head.toLatin1() + "N40 G0 X1.00 Z1.00\r\nN50 G0 X2.00 Z2.00\r\nN60 G0 X3.00 Z3.00\r\nN70 G0 X2.00 Z2.00\r\n%\r\n", {}},
        {"comments like unit lines", unitLike, {}, {},
         "%I\r\n*Billet diam 30\r\nN10 T1\r\nN20 S1000\r\nN30 G0 X1 Z0.4\r\nN40 G0 X0.500 Z0.100 'Spannen M\r\n"
         "N50 G0 X0.600 Z0.100 'Bohrung 1/2\"\r\nN60 G0 X0.700 Z0.100\r\n%\r\n", {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingQuestions q;
        q.billet = c.billet;
        q.tools.assign(c.tools.begin(), c.tools.end());
        const ExportResult r = ConvertCode(c.program.text(), c.program.machine(), q);
        ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
        EXPECT_EQ(r.bytes, c.expected);
        EXPECT_EQ(q.asked, c.asked);
    }
}

TEST(ConvertCode, DrillCyclesAtTheirEdges)
{
    const CycleStart start{0.0f, 2.0f, 100.0f};
    // Less than one peck deep: the feed line and the retract only.
    int counter = 0;
    EXPECT_EQ(strChipBreakageG73(counter, 0.5f, start, ExportUnits::metric()), "N10 G1 X0.00 Z0.50 F100\r\nN20 G0 X0.00 Z2.00");
    // Exactly one peck deep is no peck either: a peck needs the target below it.
    counter = 0;
    EXPECT_EQ(strChipBreakageG73(counter, 0.0f, start, ExportUnits::metric()), "N10 G1 X0.00 Z0.00 F100\r\nN20 G0 X0.00 Z2.00");
    counter = 0;
    EXPECT_EQ(strDrillDeepG83(counter, -3.0f, start, ExportUnits::metric()), "N10 G1 X0.00 Z-3.00 F100\r\nN20 G0 X0.00 Z2.00");
}

// Each fault ends the export with its message and leaves an existing file of
// the chosen name as it was.
TEST(ExportFaults, EachFaultHasItsMessageAndWritesNothing)
{
    const auto lathe = [] { return ProgramBuilder(MachineType::Mark4, Units::Metric, kDescription); };
    ProgramBuilder jump = lathe(), arc = lathe(), ret = lathe(), tool = lathe(), arrow = lathe();
    jump.row("G00", X(0), Z(0)).row("G27", {}, {}, letterF('L', 50)).row("M30");
    arc.row("G90").row("G01", X(2000), Z(-1000), F(100)).row("G02", X(3000), Z(-1000), F(100)).row("M30");
    ret.row("G00", X(0), Z(0)).row("M17").row("M30");
    ProgramBuilder percent(MachineType::Mark4, Units::Metric, QStringLiteral("Alu 50% Rest\r\nbillet diam 20"));
    percent.row("G00", X(0), Z(0)).row("M30");
    tool.row("G00", X(0), Z(0)).row("M06", X(0), Z(0), letterF('T', 1)).row("M30");
    arrow.row("G00", X(0), Z(0), {}, {}, QStringLiteral("Pfeil \u2192")).row("M30");
    // Backward jumps: with moves in the loop the line numbers run out; without
    // any, the walk stops after a bounded number of rows.
    ProgramBuilder moving = lathe(), idle = lathe();
    moving.row("G90").row("G00", X(0), Z(0)).row("G27", {}, {}, letterF('L', 1));
    idle.row("G90").row("G27", {}, {}, letterF('L', 0));
    const QString lineLimit = QStringLiteral("Das exportierte Programm würde die höchste Zeilennummer 32767 überschreiten.\r\n"
                                             "Springt ein Sprungbefehl (G27) zurück und bildet eine endlose Schleife?") + kNoFile;
    const struct { const char* name; const ProgramBuilder& program; QString message; int questions; } cases[] = {
        {"missing jump target", jump, "Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden\r\n" + rowLine(jump, 1) + kNoFile, 0},
        {"arc without travel", arc, "Es ist ein Problem mit dem Bogen in der zweiten Zeile,\r\ner endet in einem 0 Radius\r\n\r\n"
                                        + rowLine(arc, 1) + "\r\n" + rowLine(arc, 2) + kNoFile, 0},
        {"return without call", ret, "Der Rücksprungbefehl hat keinen Unterprogrammaufruf, zu dem er zurückkehren kann\r\n"
                                         + rowLine(ret, 1) + kNoFile, 0},
        // The text ends its description at the first "%": the export would keep only "Alu 50".
        {"percent in the description", percent, "Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten." + kNoFile, 0},
        {"tool question cancelled", tool, "Der Export wurde abgebrochen: kein Werkzeug für Zeile 1 gewählt." + kNoFile, 1},
        {"unencodable comment", arrow, "Diese Zeichen können in der Exportdatei nicht gespeichert werden: \u2192" + kNoFile, 0},
        {"moving loop", moving, lineLimit, 0},
        {"idle loop", idle, lineLimit, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = writeBytes(dir.filePath(QStringLiteral("teil.spd")), "old");
        RecordingQuestions q;
        const ExportResult r = exportProgramFile(c.program.text(), c.program.machine(), path, q);
        EXPECT_EQ(r.status, ExportStatus::Failed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(q.asked.size(), c.questions);
        EXPECT_EQ(bytesOf(path), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("teil.spd")});
    }
}

TEST(ExportFaults, LongestFileStillFits)
{
    // Nine moves, then `calls` calls of a subroutine of 204 moves: 9 + 16 * 204
    // = 3273 lines take the numbers from N40 up to N32760.
    const auto longProgram = [](int calls) {
        ProgramBuilder p(MachineType::Mark4, Units::Metric, kDescription);
        p.row("G90");
        for (int i = 0; i < 9; ++i)
            p.row("G00", X(0), Z(i));
        for (int i = 0; i < calls; ++i)
            p.row("G25", {}, {}, letterF('L', 11 + calls));
        p.row("M30");
        for (int i = 0; i < 204; ++i)
            p.row("G00", X(0), Z(i));
        return p.row("M17");
    };
    RecordingQuestions q;
    const ProgramBuilder fits = longProgram(16);
    const ExportResult r = ConvertCode(fits.text(), fits.machine(), q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_TRUE(r.bytes.endsWith("\r\nN32760 G0 X0.00 Z2.03\r\n%\r\n"));
    const ProgramBuilder over = longProgram(17);
    EXPECT_TRUE(ConvertCode(over.text(), over.machine(), q).message.startsWith("Das exportierte Programm würde"));
}

TEST(ExportFaults, CancelMillAndUnwritableTargetsWriteNothing)
{
    ProgramBuilder p(MachineType::Mark4);
    p.row("G00", X(0), Z(0)).row("M30");
    QTemporaryDir dir;
    const QString old = writeBytes(dir.filePath(QStringLiteral("alt.spd")), "old");
    RecordingQuestions q;  // the billet question cancelled
    EXPECT_EQ(exportProgramFile(p.text(), p.machine(), old, q).status, ExportStatus::Cancelled);
    EXPECT_EQ(bytesOf(old), QByteArray("old"));
    // Answered, the file replaces the old one.
    q.billet = QStringLiteral("25");
    ASSERT_EQ(exportProgramFile(p.text(), p.machine(), old, q).status, ExportStatus::Done);
    EXPECT_TRUE(bytesOf(old).startsWith("%\r\n*Werkst\xFC" "ck Durchmesser: 25 (mm)\r\nN10 T1\r\n"));

    const QString unwritable = dir.filePath(QStringLiteral("fehlt/teil.spd"));
    ExportResult r = exportProgramFile(p.text(), p.machine(), unwritable, q);
    EXPECT_EQ(r.status, ExportStatus::Failed);
    EXPECT_TRUE(r.message.startsWith("Die Exportdatei kann nicht geschrieben werden: " + unwritable + "\r\n"));
    EXPECT_TRUE(r.message.endsWith(kNoFile)) << r.message.toStdString();
    EXPECT_FALSE(QFile::exists(unwritable));

    const QString mill = dir.filePath(QStringLiteral("fraes.spd"));
    r = exportProgramFile(QStringLiteral("%\r\n   M"), MachineType::F1, mill, q);
    EXPECT_EQ(r.status, ExportStatus::NotLathe);
    EXPECT_EQ(r.message, "Der Export zu Spindra ist nur für Programme der Drehmaschinen (Mark 2 und Mark 4) möglich. "
                         "Es wurde keine Datei geschrieben.");
    EXPECT_FALSE(QFile::exists(mill));
}

TEST(ConvertCode, EveryExportStartsFromTheSameState)
{
    // Leaves absolute mode on, F 250, H and inch units behind.
    ProgramBuilder first(MachineType::Mark4, Units::Imperial, kDescription);
    first.row("G90").row("G84", X(500), Z(-500), F(250), H(20)).row("G01", X(400), Z(0), F(250));
    // Relies on the starting state: incremental, no feed read yet, metric.
    ProgramBuilder second(MachineType::Mark4, Units::Metric, kDescription);
    second.row("G00", X(-250), Z(0)).row("G81", {}, Z(-100));
    RecordingQuestions q;
    const ExportResult alone = ConvertCode(second.text(), second.machine(), q);
    ASSERT_EQ(ConvertCode(first.text(), first.machine(), q).status, ExportStatus::Done);
    EXPECT_EQ(ConvertCode(second.text(), second.machine(), q).bytes, alone.bytes);
    EXPECT_TRUE(alone.bytes.endsWith("N30 G0 X25 Z10\r\nN40 G0 X20.00 Z10.00\r\nN50 G1 X20.00 Z9.00 F0\r\nN60 G0 X20.00 Z10.00\r\n%\r\n"));
}

TEST(ExportNumber, FixedDecimalsWithAPointAndHalvesAwayFromZeroInAnyLocale)
{
    const struct { float value; int decimals; const char* expected; } cases[] = {
        {-2.5f, 2, "-2.50"}, {0.5f, 0, "1"}, {-0.5f, 0, "-1"}, {2.5f, 0, "3"},
        // Stored as 0.43449998 and -0.4345000x: written as computed.
        {0.4345f, 3, "0.435"}, {-0.4345f, 3, "-0.435"}, {9.9999f, 2, "10.00"}, {999.995f, 2, "1000.00"},
        {-0.001f, 2, "0.00"}, {-0.0f, 3, "0.000"}, {12345678.0f, 2, "12345680.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strExportNumber(c.value, c.decimals), QString::fromLatin1(c.expected)) << c.value << " with " << c.decimals;

    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(strExportNumber(-14.5f, 2), "-14.50");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
}
