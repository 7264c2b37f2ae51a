// What the two panes redo after every edit while they are shown: the
// toolpath of the preview, a test run to its end and the findings of the
// program check (with the test run's warnings), for a full
// 222-row mill program (pockets, drilling, arcs with circle parameters, a
// subroutine called several times) and a full 210-row Mark 4 program
// (turning cycles, deep drilling, arcs, a subroutine).
#include "check/ProgramCheck.h"
#include "model/CodeTables.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"
#include "model/Program.h"
#include "preview/Material.h"
#include "preview/Toolpath.h"

#include <benchmark/benchmark.h>

#include <optional>

using namespace quillon;

namespace {

QString num(int value, int width, bool blnSigned)
{
    return strFormatNumber(QString::number(value), width, blnSigned);
}

struct Values {
    std::optional<int> x = {};
    std::optional<int> y = {};
    std::optional<int> z = {};
    std::optional<int> f = {};
    std::optional<int> h = {};
    QString xText = {};  // a lettered field (M99 I), as written
    QString yText = {};
    QString zText = {};
    QString fText = {};  // L for calls
};

class Builder {
public:
    explicit Builder(MachineType machine)
        : m_machine(machine)
    {
    }

    int size() const { return int(program.rows.size()); }

    void row(const char* code, const Values& v = {}, const QString& comment = {})
    {
        const ColumnNumbers& c = machineProfile(m_machine).columns;
        const bool mill = m_machine == MachineType::F1;
        const QString codeText = QString::fromLatin1(code);
        ProgramRow r;
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, num(size(), 3, false));
        r.setColumn(c.g, codeText.startsWith(QLatin1Char('M')) ? codeText : QLatin1Char(' ') + codeText.right(2));
        r.setColumn(c.x, !v.xText.isEmpty() ? v.xText
                         : v.x ? (mill ? num(*v.x, 6, true) : QLatin1Char(' ') + num(*v.x, 5, true))
                               : QString(6, QLatin1Char(' ')));
        if (mill)
            r.setColumn(c.y, !v.yText.isEmpty() ? v.yText : v.y ? num(*v.y, 5, true) : QString(5, QLatin1Char(' ')));
        r.setColumn(c.z, !v.zText.isEmpty() ? v.zText
                         : v.z ? (mill ? num(*v.z, 6, true) : QLatin1Char(' ') + num(*v.z, 6, true))
                               : QString(mill ? 6 : 7, QLatin1Char(' ')));
        r.setColumn(c.f, !v.fText.isEmpty() ? v.fText
                         : v.f ? QLatin1Char(' ') + num(*v.f, 3, false) : QString(4, QLatin1Char(' ')));
        if (c.h != 0)
            r.setColumn(c.h, v.h ? QLatin1Char(' ') + num(*v.h, 3, false) : QString(4, QLatin1Char(' ')));
        r.setColumn(c.comment, comment);
        program.rows.push_back(r);
    }

    Program program;

private:
    MachineType m_machine;
};

constexpr int kSubroutineRows = 12;

Program millProgram()
{
    constexpr int kRows = 222;
    const int subroutine = kRows - kSubroutineRows;
    const QString call = QStringLiteral("L") + num(subroutine, 3, false);
    Builder b(MachineType::F1);
    b.program.description = QStringLiteral("Platte 222 Zeilen");
    b.row("G90");
    b.row("M06", {.xText = QStringLiteral("D  500"), .yText = QStringLiteral("S1000"), .fText = QStringLiteral("T  1")});
    b.row("M03");
    while (b.size() < subroutine - 1) {
        const int i = b.size();
        if (i % 30 == 0) {
            b.row("G25", {.fText = call});
        } else if (i % 20 == 0) {
            b.row("G00", {.x = 1000 + i * 20, .y = 1000, .z = 200});
            b.row("G83", {.z = -1500, .f = 40});
        } else if (i % 15 == 0) {
            b.row("G00", {.x = 2000, .y = 2000, .z = 100});
            b.row("G72", {.x = 4000, .y = 3000, .z = -300, .f = 60});
        } else if (i % 7 == 0) {
            b.row("G02", {.x = 3000 + i * 10, .y = 500 + i * 10, .z = -100, .f = 80});
            b.row("M99", {.xText = QStringLiteral("I 1000"), .yText = QStringLiteral("J  00")});
        } else {
            b.row("G01", {.x = 5000 - i * 15, .y = 3000 - i * 10, .z = -100, .f = 100}, QStringLiteral("Schnitt %1").arg(i));
        }
    }
    b.row("M30");
    b.row("G91");
    while (b.size() < kRows - 2) {
        const int i = b.size();
        b.row("G01", {.x = (i % 2) ? 500 : -500, .y = 200, .f = 120});
    }
    b.row("G90");
    b.row("M17");
    return b.program;
}

Program mark4Program()
{
    constexpr int kRows = 210;
    const int subroutine = kRows - kSubroutineRows;
    const QString call = QStringLiteral("L") + num(subroutine, 3, false);
    Builder b(MachineType::Mark4);
    b.program.description = QStringLiteral("Welle 210 Zeilen\r\nRohteil: Billet Diam. 40 mm");
    b.row("G90");
    b.row("G00", {.x = 4000, .z = 200});
    while (b.size() < subroutine - 1) {
        const int i = b.size();
        if (i % 25 == 0) {
            b.row("G25", {.fText = call});
        } else if (i % 20 == 0) {
            b.row("G00", {.x = 0, .z = 200});
            b.row("G83", {.z = -3000, .f = 50});
        } else if (i % 15 == 0) {
            b.row("G00", {.x = 4200, .z = 200});
            b.row("G84", {.x = 3000 - i * 5, .z = -2000, .f = 80, .h = 50});
        } else if (i % 9 == 0) {
            b.row("G02", {.x = 3000 + i, .z = -i * 20 - 500, .f = 60});
        } else if (i % 11 == 0) {
            b.row("G03", {.x = 3400, .z = -i * 20 - 400, .f = 60});
            b.row("M99", {.xText = QStringLiteral("I  200"), .zText = QStringLiteral("K   300")});
        } else {
            b.row("G01", {.x = 4000 - i * 15, .z = -i * 20, .f = 100}, QStringLiteral("Schnitt %1").arg(i));
        }
    }
    b.row("M30");
    while (b.size() < kRows - 1) {
        const int i = b.size();
        b.row("G01", {.x = 3000 - i, .z = -100 - i, .f = 120});
    }
    b.row("M17");
    return b.program;
}

void runToolpath(benchmark::State& state, const Program& program, MachineType machine)
{
    std::size_t moves = 0;
    for (auto _ : state) {
        const Toolpath path = buildToolpath(program, machine);
        if (!path.stopMessage.isEmpty()) {
            state.SkipWithError(path.stopMessage.toStdString().c_str());
            break;
        }
        moves = path.moves.size();
        benchmark::DoNotOptimize(path);
    }
    state.counters["rows"] = double(program.rows.size());
    state.counters["moves"] = double(moves);
}

void BM_ToolpathMill222(benchmark::State& state)
{
    runToolpath(state, millProgram(), MachineType::F1);
}
BENCHMARK(BM_ToolpathMill222)->Unit(benchmark::kMicrosecond);

void BM_ToolpathMark4_210(benchmark::State& state)
{
    runToolpath(state, mark4Program(), MachineType::Mark4);
}
BENCHMARK(BM_ToolpathMark4_210)->Unit(benchmark::kMicrosecond);

// A test run from the untouched material to the end: the tool path, every
// move applied to the billet or block and each asked whether it is a rapid
// through material, as the pane stepping to the last line does.
void runTestRun(benchmark::State& state, const Program& program, MachineType machine)
{
    std::size_t rapids = 0;
    std::size_t moves = 0;
    for (auto _ : state) {
        const Toolpath path = buildToolpath(program, machine);
        MaterialRun run(path, defaultMaterialSetup(false));
        rapids = 0;
        do {
            rapids += run.nextRapidEntersMaterial() ? 1 : 0;
        } while (run.applyNext());
        moves = run.applied();
        benchmark::DoNotOptimize(run);
    }
    state.counters["rows"] = double(program.rows.size());
    state.counters["moves"] = double(moves);
    state.counters["rapidsInMaterial"] = double(rapids);
}

void BM_TestRunMill222(benchmark::State& state)
{
    runTestRun(state, millProgram(), MachineType::F1);
}
BENCHMARK(BM_TestRunMill222)->Unit(benchmark::kMillisecond);

void BM_TestRunMark4_210(benchmark::State& state)
{
    runTestRun(state, mark4Program(), MachineType::Mark4);
}
BENCHMARK(BM_TestRunMark4_210)->Unit(benchmark::kMillisecond);

// The panel checks with the code tables the editor already holds.
void runCheck(benchmark::State& state, const Program& program, MachineType machine)
{
    CodeTables tables;
    tables.GetCommands(machine, false);
    std::size_t findings = 0;
    for (auto _ : state) {
        const std::vector<Finding> found = checkProgram(program, machine, tables);
        findings = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows"] = double(program.rows.size());
    state.counters["findings"] = double(findings);
}

void BM_CheckMill222(benchmark::State& state)
{
    runCheck(state, millProgram(), MachineType::F1);
}
BENCHMARK(BM_CheckMill222)->Unit(benchmark::kMicrosecond);

void BM_CheckMark4_210(benchmark::State& state)
{
    runCheck(state, mark4Program(), MachineType::Mark4);
}
BENCHMARK(BM_CheckMark4_210)->Unit(benchmark::kMicrosecond);

}  // namespace
