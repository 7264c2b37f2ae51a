// Decoding and encoding a full-length mill program (222 rows, the F1 limit).
#include "files/Cp1252.h"
#include "files/ProgramText.h"
#include "model/NumberFormat.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

QByteArray millFileBytes()
{
    QString text = QStringLiteral("Tasche 40 x 20\r\nAlu, Fr\u00e4ser 6 mm\r\n%\r\n")
                   + columnHeaderLine(MachineType::F1) + QStringLiteral("\r\n");
    for (int i = 0; i < 222; ++i) {
        text += QStringLiteral("   ") + strFormatNumber(QString::number(i), 3, false) + QStringLiteral(" 01")
                + strFormatNumber(QString::number(i * 37 - 4000), 6, true)
                + strFormatNumber(QString::number(i * 11 - 900), 5, true)
                + strFormatNumber(QString::number(-i * 5), 6, true) + QStringLiteral(" 100")
                + QStringLiteral(" Schlichten\r\n");
    }
    text += QStringLiteral("   M\r\n");
    return encodeCp1252(text).bytes;
}

void BM_DecodeMill222(benchmark::State& state)
{
    const QByteArray bytes = millFileBytes();
    for (auto _ : state) {
        DecodeResult r = blnDecodeBuffer(decodeCp1252(bytes), MachineType::F1, Units::Metric);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DecodeMill222)->Unit(benchmark::kMicrosecond);

void BM_EncodeMill222(benchmark::State& state)
{
    const Program program = blnDecodeBuffer(decodeCp1252(millFileBytes()), MachineType::F1, Units::Metric).program;
    for (auto _ : state) {
        QByteArray bytes = encodeCp1252(strFileOutBuff(program, MachineType::F1) + QStringLiteral("\r\n")).bytes;
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EncodeMill222)->Unit(benchmark::kMicrosecond);

}  // namespace
