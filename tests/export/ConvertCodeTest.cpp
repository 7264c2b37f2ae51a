#include "export/ConvertCode.h"
#include "export/MoveText.h"

#include "LatheProgram.h"
#include "QtPrinters.h"
#include "RecordingQuestions.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

ExportResult convert(const LatheProgram& program, ExportQuestions& questions)
{
    return ConvertCode(program.text(), program.machine(), questions);
}

}  // namespace

TEST(ConvertCode, MetricMark4WithBilletInTheDescription)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Welle 12\r\nRohteil: Billet Diam. 30 mm\r\n"));
    p.row("G90")
        .row("G00", X(2000), Z(200))
        .row("G01", X(2000), Z(-1000), F(100), {}, QStringLiteral("Schruppen, 1. Schnitt"))
        .row("G91")
        .row("G01", X(-250), Z(0), F(80))
        .row("G90")
        .row("G02", X(2500), Z(-1500), F(100))
        .row("M99", letterX('I', 0), letterZ('K', 500))
        .row("G03", X(3000), Z(-2000), F(50))
        .row("M06", X(0), Z(0), letterF('T', 1), {}, QStringLiteral("Bohrer"))
        .row("G00", X(0), Z(200))
        .row("G81", {}, Z(-1000), F(50))
        .row("G82", {}, Z(-500), F(50))
        .row("G85", {}, Z(-800), F(40))
        .row("G89", {}, Z(-800), F(40), {}, QStringLiteral("Reiben"))
        .row("G73", {}, Z(-500), F(30))
        .comment("M05", QStringLiteral("Spindel aus"))
        .row("M30")
        .row("G00", X(0), Z(0));

    RecordingQuestions q;
    q.tools.push_back({9, QStringLiteral("1500")});
    const ExportResult r = convert(p, q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_EQ(r.bytes, fileBytes({
                           "%",
                           "*Welle 12",
                           "*Rohteil: Billet Diam. 30 mm",
                           "N10 T1",
                           "N20 S1000",
                           "N30 G0 X25 Z10",
                           "N40 G0 X20.00 Z2.00",
                           "N50 G1 X20.00 Z-10.00 F100 'Schruppen, 1. Schnitt",
                           "N60 G1 X15.00 Z-10.00 F80",
                           "N70 G2 X25.00 Z-15.00 R5.00F100 '",
                           "N80 G3 X30.00 Z-20.00 R5.00F50",
                           "N90 T9 'Bohrer",
                           "N100 S1500",
                           "N110 G0 X0.00 Z2.00",
                           "N120 G1 X0.00 Z-10.00 F50",
                           "N130 G0 X0.00 Z2.00",
                           "N140 G1 X0.00 Z-5.00 F50",
                           "N150 G4 X0.5",
                           "N160 G0 X0.00 Z2.00",
                           "N170 G1 X0.00 Z-8.00 F40",
                           "N180 G1 X0.00 Z2.00",
                           "N190 G1 X0.00 Z-8.00 F40",
                           "N200 G4 X0.5",
                           "N210 G1 X0.00 Z2.00 'Reiben",
                           "N220 G1 X0.00 Z0.00 F30",
                           "N230 G0 X0.00 Z0.20",
                           "N240 G1 X0.00 Z-1.80 F30",
                           "N250 G0 X0.00 Z-1.60",
                           "N260 G1 X0.00 Z-3.60 F30",
                           "N270 G0 X0.00 Z-3.40",
                           "N280 G1 X0.00 Z-5.00 F30",
                           "N290 G0 X0.00 Z2.00",
                           "%",
                       }));
    // No billet question; one tool question naming the row.
    ASSERT_EQ(q.asked.size(), 1);
    EXPECT_EQ(q.asked[0], QStringLiteral("Bitte wählen Sie das Werkzeug für den M06 Code in Zeile 9\r\n\r\n"
                                         "    09M06    00     00T 01     Bohrer"));
}

TEST(ConvertCode, CallReturnJumpPositionSetAndTurningCycles)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Teil 7"));
    p.row("G00", X(-250), Z(0))                           // incremental from X 25: a diameter of 20
        .row("G90")
        .row("G92", X(3000), Z(500))
        .row("G25", {}, {}, letterF('L', 6))
        .row("G27", {}, {}, letterF('L', 9))
        .comment("M30", QStringLiteral("nie erreicht"))
        .row("G01", X(2800), Z(0), F(120))                 // 6: the subroutine
        .row("G00", X(3000), Z(500))
        .row("M17")
        .row("G04", X(50))                                 // 9: the jump target
        .row("G84", X(2000), Z(-3000), F(80), H(50))
        .row("G78", X(1800), Z(-2000), letterF('K', 150), H(30))
        .comment("G90", QStringLiteral("Kommentar, mit Komma"))
        .comment("M03", QStringLiteral("Spindel"))
        .row("M30")
        .row("G00", X(0), Z(0));

    RecordingQuestions q;
    q.billet = QStringLiteral("30");
    const ExportResult r = convert(p, q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_EQ(r.bytes, fileBytes({
                           "%",
                           "*Teil 7",
                           "*Werkstück Durchmesser: 30 (mm)",
                           "N10 T1",
                           "N20 S1000",
                           "N30 G0 X25 Z10",
                           "N40 G0 X20.00 Z10.00",
                           "N50 G1 X28.00 Z0.00 F120",
                           "N60 G0 X30.00 Z5.00",
                           "N70 G4 X30",
                           "N80 G84 X20.00 Z-30.00 F80 H0.50",
                           "N90 G78 X18.00 Z-20.00 F1.50 H0.30",
                           " 'Kommentar, mit Komma",
                           "%",
                       }));
    ASSERT_EQ(q.asked.size(), 1);
    EXPECT_EQ(q.asked[0], QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein (mm)"));
}

TEST(ConvertCode, InchMark4PecksInThousandths)
{
    LatheProgram p(MachineType::Mark4, Units::Imperial, QStringLiteral("*Buchse"));
    p.row("G90")
        .row("G00", X(500), Z(100))
        .row("G73", {}, Z(-200), F(25))
        .row("G91")
        .row("G01", X(-50), Z(-100), F(30))
        .row("M30");

    RecordingQuestions q;
    q.billet = QStringLiteral("1.25");
    const ExportResult r = convert(p, q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_EQ(r.bytes, fileBytes({
                           "%I",
                           "*Buchse",
                           "*Werkstück Durchmesser: 1.25 (Zoll)",
                           "N10 T1",
                           "N20 S1000",
                           "N30 G0 X1 Z0.4",
                           "N40 G0 X0.500 Z0.100",
                           "N50 G1 X0.500 Z0.021 F2.5",
                           "N60 G0 X0.500 Z0.029",
                           "N70 G1 X0.500 Z-0.050 F2.5",
                           "N80 G0 X0.500 Z-0.042",
                           "N90 G1 X0.500 Z-0.121 F2.5",
                           "N100 G0 X0.500 Z-0.113",
                           "N110 G1 X0.500 Z-0.192 F2.5",
                           "N120 G0 X0.500 Z-0.184",
                           "N130 G1 X0.500 Z-0.200 F2.5",
                           "N140 G0 X0.500 Z0.100",
                           "N150 G1 X0.400 Z0.000 F3.0",
                           "%",
                       }));
    EXPECT_EQ(q.asked.value(0), QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein  (Zoll)"));
}

TEST(ConvertCode, Mark2ProgramWithArcToolChangeAndThread)
{
    LatheProgram p(MachineType::Mark2);
    p.row("G90")
        .row("G00", X(2000), Z(200))
        .row("G01", X(2000), Z(-1000), F(100), {}, QStringLiteral("Schlichten"))
        .row("G02", X(3000), Z(-1500), F(80))
        .row("G26", X(0), Z(0), F(2), {}, QStringLiteral("Werkzeug 2"))
        .row("G33", {}, Z(-2000), F(150))
        .row("G22")
        .row("G00", X(0), Z(0));

    RecordingQuestions q;
    q.billet = QStringLiteral("40");
    q.tools.push_back({1, QStringLiteral("1000")});
    const ExportResult r = convert(p, q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_EQ(r.bytes, fileBytes({
                           "%",
                           "*Werkstück Durchmesser: 40 (mm)",
                           "N10 T1",
                           "N20 S1000",
                           "N30 G0 X25 Z10",
                           "N40 G0 X20.00 Z2.00",
                           "N50 G1 X20.00 Z-10.00 F100 'Schlichten",
                           "N60 G2 X30.00 Z-15.00 R5.00F80",
                           "N70 T1 'Werkzeug 2",
                           "N80 S1000",
                           "N90 G33 X30.00 Z-20.00 F150",
                           "%",
                       }));
}

TEST(ConvertCode, DeepHoleWorkedExample)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("billet diameter 20"));
    p.row("G90")
        .row("G00", X(0), Z(500))
        .row("G00", X(0), Z(400))
        .row("G00", X(0), Z(300))
        .row("G01", X(0), Z(200), F(100))
        .row("G83", {}, Z(-2000), F(100))
        .row("M30");
    RecordingQuestions q;
    const ExportResult r = convert(p, q);
    ASSERT_EQ(r.status, ExportStatus::Done) << r.message.toStdString();
    EXPECT_TRUE(q.asked.isEmpty());
    EXPECT_EQ(r.bytes, fileBytes({
                           "%",
                           "*billet diameter 20",
                           "N10 T1",
                           "N20 S1000",
                           "N30 G0 X25 Z10",
                           "N40 G0 X0.00 Z5.00",
                           "N50 G0 X0.00 Z4.00",
                           "N60 G0 X0.00 Z3.00",
                           "N70 G1 X0.00 Z2.00 F100",
                           "N80 G1 X0.00 Z-4.00 F100",
                           "N90 G0 X0.00 Z2.00",
                           "N100 G0 X0.00 Z-3.50",
                           "N110 G1 X0.00 Z-9.50 F100",
                           "N120 G0 X0.00 Z2.00",
                           "N130 G0 X0.00 Z-9.00",
                           "N140 G1 X0.00 Z-15.00 F100",
                           "N150 G0 X0.00 Z2.00",
                           "N160 G0 X0.00 Z-14.50",
                           "N170 G1 X0.00 Z-20.00 F100",
                           "N180 G0 X0.00 Z2.00",
                           "%",
                       }));
}

TEST(DrillCycles, ExpansionsAsText)
{
    const ExportUnits mm = ExportUnits::metric();
    const CycleStart start{0.0f, 2.0f, 100.0f};
    int counter = 70;
    EXPECT_EQ(strDrillDeepG83(counter, -20.0f, start, mm).count(QStringLiteral("\r\n")), 10);
    EXPECT_EQ(counter, 180);

    counter = 0;
    EXPECT_EQ(strDrilling(counter, -10.0f, 81, start, mm), QStringLiteral("N10 G1 X0.00 Z-10.00 F100\r\nN20 G0 X0.00 Z2.00"));
    EXPECT_EQ(strDrilling(counter, -10.0f, 85, start, mm), QStringLiteral("N30 G1 X0.00 Z-10.00 F100\r\nN40 G1 X0.00 Z2.00"));
    EXPECT_EQ(strDrilling(counter, -10.0f, 89, start, mm),
              QStringLiteral("N50 G1 X0.00 Z-10.00 F100\r\nN60 G4 X0.5\r\nN70 G1 X0.00 Z2.00"));

    // Less than one peck deep: the feed line and the retract only.
    counter = 0;
    EXPECT_EQ(strChipBreakageG73(counter, 0.5f, start, mm), QStringLiteral("N10 G1 X0.00 Z0.50 F100\r\nN20 G0 X0.00 Z2.00"));
    counter = 0;
    EXPECT_EQ(strDrillDeepG83(counter, -3.0f, start, mm), QStringLiteral("N10 G1 X0.00 Z-3.00 F100\r\nN20 G0 X0.00 Z2.00"));

    // Inch: 0.236 pecks, re-approach 0.217 per completed peck.
    counter = 0;
    EXPECT_EQ(strDrillDeepG83(counter, -0.5f, CycleStart{0.25f, 0.1f, 2.5f}, ExportUnits::imperial()),
              QStringLiteral("N10 G1 X0.250 Z-0.136 F2.5\r\nN20 G0 X0.250 Z0.100\r\nN30 G0 X0.250 Z-0.117\r\n"
                             "N40 G1 X0.250 Z-0.353 F2.5\r\nN50 G0 X0.250 Z0.100\r\nN60 G0 X0.250 Z-0.334\r\n"
                             "N70 G1 X0.250 Z-0.500 F2.5\r\nN80 G0 X0.250 Z0.100"));
}
