// Decoding and encoding a full-length program (222 rows, the F1 limit) for
// each machine: bytes to rows as Open does it, rows to bytes as Save does it.
#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"
#include "shell/Logger.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

constexpr int kRows = 222;

Program fullProgram(MachineType machine)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    Program program;
    program.description = QStringLiteral("Werkst\u00fcck 40 x 20\r\nAlu, Werkzeug 6 mm");
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
        row.setColumn(c.comment, QStringLiteral("Schlichten"));
        program.rows.push_back(row);
    }
    return program;
}

QByteArray fileBytes(MachineType machine)
{
    return programFileBytes(fullProgram(machine), machine).value();
}

void BM_Decode222(benchmark::State& state, MachineType machine)
{
    const QByteArray bytes = fileBytes(machine);
    for (auto _ : state) {
        DecodeResult r = blnDecodeBuffer(decodeCp1252(bytes), machine, Units::Metric);
        benchmark::DoNotOptimize(r);
    }
    if (blnDecodeBuffer(decodeCp1252(bytes), machine, Units::Metric).program.rows.size() != std::size_t(kRows))
        state.SkipWithError("the program did not read back whole");
}
BENCHMARK_CAPTURE(BM_Decode222, f1, MachineType::F1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Decode222, mark2, MachineType::Mark2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Decode222, mark4, MachineType::Mark4)->Unit(benchmark::kMicrosecond);

// The same read with the log attached and tracing off, as a normal run reads:
// each row passes a StoreRow trace scope that must cost no more than a test.
void BM_Decode222TraceOff(benchmark::State& state)
{
    const QByteArray bytes = fileBytes(MachineType::F1);
    Logger log(QStringLiteral("/nonexistent/Quillon.log"), [](const QString&) { return std::optional<QString>(); });
    for (auto _ : state) {
        DecodeResult r = blnDecodeBuffer(decodeCp1252(bytes), MachineType::F1, Units::Metric, &log);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Decode222TraceOff)->Unit(benchmark::kMicrosecond);

void BM_Encode222(benchmark::State& state, MachineType machine)
{
    const Program program = fullProgram(machine);
    for (auto _ : state) {
        QByteArray bytes = programFileBytes(program, machine).value();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK_CAPTURE(BM_Encode222, f1, MachineType::F1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Encode222, mark2, MachineType::Mark2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Encode222, mark4, MachineType::Mark4)->Unit(benchmark::kMicrosecond);

}  // namespace
