#include "check/ProgramCheck.h"

#include "editing/ParameterRules.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include "export/ProgramBuilder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// One row as the editor would store it: the values go through the editor's
// own field formats; a value for a column the code does not use is put in
// right-aligned as a hand-edited file might carry it.
struct Row {
    const char* n;
    const char* code;
    const char* x = "";
    const char* y = "";
    const char* z = "";
    const char* f = "";
    const char* h = "";
};

ProgramRow makeRow(MachineType machine, const Row& r)
{
    CodeTables tables;
    tables.GetCommands(machine, false);
    const ColumnNumbers& c = machineProfile(machine).columns;
    ProgramRow row;
    row.setColumn(c.mark, QStringLiteral(" "));
    row.setColumn(c.n, QString::fromLatin1(r.n).rightJustified(3));
    const QString code = QString::fromLatin1(r.code);
    row.setColumn(c.g, code.startsWith(QLatin1Char('G')) ? QStringLiteral(" ") + code.mid(1) : code);
    const CodeEntry* entry = tables.findCode(code);
    const char* values[] = {r.x, r.y, r.z, r.f, r.h};
    const int columns[] = {c.x, c.y, c.z, c.f, c.h};
    for (int slot = 1; slot <= 5; ++slot) {
        const int column = columns[slot - 1];
        if (column == 0)
            continue;
        const QString value = QString::fromLatin1(values[slot - 1]);
        const int width = slotColumnWidth(machine, slot);
        const QString letter = entry ? entry->slotLetters[std::size_t(slot - 1)] : QString();
        if (value.isEmpty())
            row.setColumn(column, QString(width, QLatin1Char(' ')));
        else if (letter.isEmpty())
            row.setColumn(column, value.rightJustified(width));
        else
            row.setColumn(column, strSlotText(machine, slot, letter, value.toLongLong()));
    }
    return row;
}

Program makeProgram(MachineType machine, std::initializer_list<Row> rows, Units units = Units::Metric)
{
    Program p;
    p.units = units;
    for (const Row& r : rows)
        p.rows.push_back(makeRow(machine, r));
    return p;
}

// "row|N05: message" of each error, or of each warning.
std::vector<QString> texts(const std::vector<Finding>& findings, Finding::Severity severity = Finding::Severity::Error)
{
    std::vector<QString> out;
    for (const Finding& f : findings)
        if (f.severity == severity)
            out.push_back(QStringLiteral("%1|").arg(f.row) + f.text());
    return out;
}

struct Case {
    const char* name;
    MachineType machine;
    Units units;
    std::vector<Row> rows;
    std::vector<const char*> expected;  // "row|text"
};

}  // namespace

TEST(ProgramCheck, EachFindingWithItsRowAndExactMessage)
{
    // (An unknown Mark 4 code and a missing M30 are checked, with their file
    // lines, by the lint command's test.)
    const MachineType F1 = MachineType::F1, M2 = MachineType::Mark2, M4 = MachineType::Mark4;
    const Units metric = Units::Metric, inch = Units::Imperial;
    const Case cases[] = {
        {"clean lathe program with a call", M4, metric,
         {{"00", "G00", "1250", "", "200"}, {"01", "G25", "", "", "", "3"}, {"02", "M30"},
          {"03", "G84", "1000", "", "-2000", "100", "50"}, {"04", "M17"}},
         {}},
        {"M30 is unknown on the Mark 2", M2, metric,
         {{"00", "M30"}},
         {"0|N00: Unbekannter Code M30 für die Mark 2 Drehmaschine",
          "-1|Das Programm hat kein Programmende (G22)"}},
        {"a row without a code", F1, metric,
         {{"00", "M30"}, {"01", ""}},
         {"1|N01: Zeile ohne G- oder M-Code"}},
        {"range: maximum, minimum of an empty feed, imperial limits", M4, inch,
         {{"00", "G01", "2000", "", "-100", "150"}, {"01", "G01", "100", "", "100", ""}, {"02", "M30"}},
         {"0|N00: X = 2000: Der maximalwert für diesen Parameter ist 1999",
          "1|N01: F = 0: Der mindest Wert für diesen Parameter ist 2"}},
        {"range: the Mark 2 k is checked as K, the last entry", M2, metric,
         {{"00", "G33", "", "", "-500", "1"}, {"01", "G22"}},
         {"0|N00: K = 1: Der mindest Wert für diesen Parameter ist 2"}},
        {"columns the code does not use", F1, metric,
         {{"00", "G00", "10", "10", "10", "100"}, {"01", "M30", "5"}},
         {"0|N00: Spalte F ist gefüllt, G00 benutzt sie nicht",
          "1|N01: Spalte X ist gefüllt, M30 benutzt sie nicht"}},
        {"Mark 4 H cross-check against X, and against Z for G88", M4, metric,
         {{"00", "G84", "100", "", "-500", "100", "150"}, {"01", "G88", "900", "", "-50", "100", "60"},
          {"02", "G84", "100", "", "-500", "100", "100"}, {"03", "M30"}},
         {"0|N00: G84: der 'H' Wert darf nicht größer sein als der X-Wert",
          "1|N01: G88: der 'H' Wert darf nicht größer sein als der Z-Wert"}},
        {"line numbers: a gap, then the numbers follow the new ones", F1, metric,
         {{"00", "G00"}, {"01", "G00"}, {"03", "G00"}, {"04", "M30"}},
         {"2|N03: Zeilennummer nicht fortlaufend, erwartet N02"}},
        {"line numbers: not from 00, and a row without a number", M4, metric,
         {{"10", "G00"}, {"11", "G00"}, {"", "G00"}, {"13", "M30"}},
         {"0|N10: Zeilennummer nicht fortlaufend, erwartet N00",
          "2|Zeile 3: Zeilennummer nicht fortlaufend, erwartet N12"}},  // N13 then follows N11
        {"call and jump to lines that do not exist", F1, metric,
         {{"00", "G25", "", "", "", "9"}, {"01", "G27", "", "", "", "12"}, {"02", "M30"}},
         {"0|N00: Die Ziel Zeile 09 für den Unterprogrammaufruf ist nicht vorhanden",
          "1|N01: Die Ziel Zeile 12 für den Sprungbefehl ist nicht vorhanden"}},
        {"return reached without a call: M30 missing in front of the subroutine", M4, metric,
         {{"00", "G25", "", "", "", "2"}, {"01", "G00"}, {"02", "G00"}, {"03", "M17"}},
         {"3|N03: Der Rücksprungbefehl hat keinen Unterprogrammaufruf, zu dem er zurückkehren kann",
          "-1|Das Programm hat kein Programmende (M30)"}},
        {"an endless jump loop ends the flow without a finding", F1, metric,
         {{"00", "G00"}, {"01", "G27", "", "", "", "0"}, {"02", "M30"}, {"03", "M17"}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        p.units = c.units;
        for (const Row& r : c.rows)
            p.rows.push_back(makeRow(c.machine, r));
        std::vector<QString> expected;
        for (const char* e : c.expected)
            expected.push_back(QString::fromUtf8(e));
        EXPECT_EQ(texts(checkProgram(p, c.machine, false)), expected);
    }
}

TEST(ProgramCheck, LineLimitIsReportedOnTheFirstRowBeyondIt)
{
    const struct {
        MachineType machine;
        int limit;
        const char* message;
    } cases[] = {
        {MachineType::F1, 222, "Zeilen Limit: das Programm hat 223 Zeilen, die F1 Fräsmaschine erlaubt höchstens 222"},
        {MachineType::Mark2, 160, "Zeilen Limit: das Programm hat 161 Zeilen, die Mark 2 Drehmaschine erlaubt höchstens 160"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Program p;
        // A Mark 2 file holds two digits only: from 100 on every other row reads back so.
        std::vector<std::string> numbers;
        for (int i = 0; i <= c.limit; ++i)
            numbers.push_back(strFormatNumber(QString::number(c.machine == MachineType::Mark2 && i >= 100 && i % 2 ? i % 100 : i), 3, false).toStdString());
        for (int i = 0; i <= c.limit; ++i)
            p.rows.push_back(makeRow(c.machine, {numbers[std::size_t(i)].c_str(), i < c.limit ? "G21" : c.machine == MachineType::Mark2 ? "G22" : "M30"}));
        const std::vector<Finding> findings = checkProgram(p, c.machine, false);
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0].row, c.limit);
        EXPECT_EQ(findings[0].message, QString::fromUtf8(c.message));
        // Exactly at the limit: fine.
        p.rows.pop_back();
        p.rows.back() = makeRow(c.machine, {numbers[std::size_t(c.limit - 1)].c_str(), c.machine == MachineType::Mark2 ? "G22" : "M30"});
        EXPECT_TRUE(checkProgram(p, c.machine, false).empty());
    }
}

TEST(ProgramCheck, InchRangesOnTheMill)
{
    Program inch = makeProgram(MachineType::F1, {{"00", "G01", "7999", "3999", "-7999", "199"}, {"01", "M30"}},
                               Units::Imperial);
    EXPECT_TRUE(texts(checkProgram(inch, MachineType::F1, false)).empty());
    inch = makeProgram(MachineType::F1, {{"00", "G01", "8000", "4000", "-8000", "200"}, {"01", "M30"}}, Units::Imperial);
    EXPECT_EQ(texts(checkProgram(inch, MachineType::F1, false)).size(), 4u);
}

TEST(ProgramWarnings, SpindleModeAndRapidsPerMachine)
{
    using quillon::testing::ProgramBuilder;
    const char* const noMode = "Keine Maßangabe (G90/G91) vor der ersten Bewegung: die Werte gelten inkrementell";
    const char* const spindle = "Vorschub bei stehender Spindel";
    // A DIAM 20 billet: the rapid to X17 Z-10 passes radius 8.5 over Z 1 to -10.
    ProgramBuilder lathe(MachineType::Mark4, Units::Metric, QStringLiteral("Billet diam 20"));
    lathe.row("G90").row("M03").row("G00", {.x = 2200, .z = 100}).row("G00", {.x = 1700, .z = -1000}).row("M30");
    ProgramBuilder mark4(MachineType::Mark4);
    mark4.row("G00").row("G00", {.x = 3000, .z = 200}).row("G01", {.x = -100, .f = 100}).row("M03").row("G91")
        .row("G01", {.x = -100}).row("M05").row("G84", {.x = -200, .z = -500, .f = 100, .h = 50}).row("M30");
    ProgramBuilder mill(MachineType::F1);
    mill.row("G91").row("G01", {.x = 1000, .y = 0, .z = 500, .f = 100}).row("M03")
        .row("G00", {.x = 0, .y = 1000, .z = -600}).row("G01", {.x = 1000, .y = 0, .z = 0}).row("M30");
    const std::pair<ProgramBuilder, std::vector<std::pair<int, const char*>>> cases[] = {
        {mark4, {{1, noMode}, {2, spindle}, {7, spindle}}},
        {mill, {{1, spindle}, {3, "Eilgang im Material"}}},  // down to Z-1 over the untouched block
        {lathe, {{3, "Eilgang im Material"}}},  // the same rapid after a cut is silent: see the material's test
    };
    for (const auto& [p, expected] : cases) {
        SCOPED_TRACE(p.text().toStdString());
        std::vector<QString> want;
        for (const auto& [row, message] : expected)
            want.push_back(QStringLiteral("%1|N0%1: ").arg(row) + QString::fromUtf8(message));
        EXPECT_EQ(texts(programWarnings(p.program, p.machine(), MaterialSetup{}), Finding::Severity::Warning), want);
    }
}
