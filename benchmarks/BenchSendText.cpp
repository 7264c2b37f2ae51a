// Building the bytes that go to the machine for a full-length program of
// each machine: NUL leader, header, lines without comments, NUL trailer.
#include "link/SendText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

constexpr int kRows = 222;

Program fullProgram(MachineType machine)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    Program program;
    program.description = QStringLiteral("Beschreibung, die nicht gesendet wird");
    for (int i = 0; i < kRows; ++i) {
        ProgramRow row;
        row.setColumn(c.mark, QStringLiteral(" "));
        row.setColumn(c.n, strFormatNumber(QString::number(i), 3, false));
        row.setColumn(c.g, QStringLiteral(" 01"));
        row.setColumn(c.x, strFormatNumber(QString::number(i * 37 - 4000), 6, true));
        if (c.y)
            row.setColumn(c.y, strFormatNumber(QString::number(i * 11 - 900), 5, true));
        row.setColumn(c.z, strFormatNumber(QString::number(-i * 5), machine == MachineType::F1 ? 6 : 7, true));
        row.setColumn(c.f, QStringLiteral(" 100"));
        if (c.h)
            row.setColumn(c.h, QStringLiteral("    "));
        row.setColumn(c.comment, QStringLiteral("Kommentar %1").arg(i));
        program.rows.push_back(row);
    }
    return program;
}

void BM_SendText222(benchmark::State& state, MachineType machine)
{
    const Program program = fullProgram(machine);
    qsizetype size = 0;
    for (auto _ : state) {
        QByteArray bytes = sendText(program, machine);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK_CAPTURE(BM_SendText222, f1, MachineType::F1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SendText222, mark2, MachineType::Mark2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SendText222, mark4, MachineType::Mark4)->Unit(benchmark::kMicrosecond);

}  // namespace
