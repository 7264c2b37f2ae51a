// The export of a 200-row Mark 4 program with drilling cycles, a subroutine
// called several times and a tool change, answered automatically: text in,
// simulator file bytes out.
#include "export/ConvertCode.h"
#include "export/ScriptedQuestions.h"
#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

constexpr int kRows = 200;
constexpr int kSubroutineRows = 12;

QString num(int value, int width, bool blnSigned)
{
    return strFormatNumber(QString::number(value), width, blnSigned);
}

class Mark4Builder {
public:
    void row(const QString& code, const QString& x = {}, const QString& z = {}, const QString& f = {},
             const QString& comment = {})
    {
        const ColumnNumbers& c = machineProfile(MachineType::Mark4).columns;
        ProgramRow r;
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, num(int(program.rows.size()), 3, false));
        r.setColumn(c.g, code.startsWith(QLatin1Char('M')) ? code : QLatin1Char(' ') + code.right(2));
        r.setColumn(c.x, x.isEmpty() ? QString(6, QLatin1Char(' ')) : QLatin1Char(' ') + num(x.toInt(), 5, true));
        r.setColumn(c.z, z.isEmpty() ? QString(7, QLatin1Char(' ')) : QLatin1Char(' ') + num(z.toInt(), 6, true));
        r.setColumn(c.f, f.isEmpty() ? QString(4, QLatin1Char(' ')) : f);
        r.setColumn(c.h, QString(4, QLatin1Char(' ')));
        r.setColumn(c.comment, comment);
        program.rows.push_back(r);
    }
    Program program;
};

QString exportText()
{
    Mark4Builder b;
    b.program.description = QStringLiteral("Welle 200 Zeilen\r\nRohteil: Billet Diam. 40 mm");
    const int subroutine = kRows - kSubroutineRows;
    const QString call = QStringLiteral("L") + num(subroutine, 3, false);
    b.row(QStringLiteral("G90"));
    b.row(QStringLiteral("G00"), QStringLiteral("4000"), QStringLiteral("200"));
    while (int(b.program.rows.size()) < subroutine - 1) {
        const int i = int(b.program.rows.size());
        if (i == 60) {
            b.row(QStringLiteral("M06"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("T  2"), QStringLiteral("Bohrer"));
        } else if (i % 25 == 0) {
            b.row(QStringLiteral("G25"), {}, {}, call);
        } else if (i % 10 == 0) {
            b.row(QStringLiteral("G00"), QStringLiteral("0"), QStringLiteral("200"));
            b.row(QStringLiteral("G81"), {}, QString::number(-500 - i * 5), QStringLiteral("  50"));
        } else {
            b.row(QStringLiteral("G01"), QString::number(4000 - i * 15), QString::number(-i * 20), QStringLiteral(" 100"),
                  QStringLiteral("Schnitt %1").arg(i));
        }
    }
    b.row(QStringLiteral("M30"));
    while (int(b.program.rows.size()) < kRows - 1) {
        const int i = int(b.program.rows.size());
        b.row(QStringLiteral("G01"), QString::number(3000 - i), QString::number(-100 - i), QStringLiteral(" 120"));
    }
    b.row(QStringLiteral("M17"));
    return strFileOutBuff(b.program, MachineType::Mark4);
}

void BM_ExportMark4_200(benchmark::State& state)
{
    const QString text = exportText();
    qsizetype size = 0;
    for (auto _ : state) {
        ScriptedQuestions questions(QStringLiteral("40"), {{2, QStringLiteral("1200")}});
        const ExportResult r = ConvertCode(text, MachineType::Mark4, questions);
        if (r.status != ExportStatus::Done) {
            state.SkipWithError(r.message.toStdString().c_str());
            break;
        }
        size = r.bytes.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["file_bytes"] = double(size);
}
BENCHMARK(BM_ExportMark4_200)->Unit(benchmark::kMicrosecond);

}  // namespace
