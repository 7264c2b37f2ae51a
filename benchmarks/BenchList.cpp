// One arrow-key step in a full mill program list: the selection moves, the two
// changed rows (or, at the window's edge, a one-row scroll) are repainted.
#include "ui/ListView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <memory>

using namespace quillon;

namespace {

constexpr int kRows = 222;

// Counts painted rows' worth of pixels, to show that a step paints little.
class CountingView : public ListView {
public:
    using ListView::ListView;
    long long paintedPixels = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        for (const QRect& r : event->region())
            paintedPixels += static_cast<long long>(r.width()) * r.height();
        ListView::paintEvent(event);
    }
};

struct Fixture {
    ListControl list;
    CountingView view{"vsbList"};
    bool down = true;

    Fixture()
    {
        view.setFont(ListView::fixedPitchFont());
        view.setControl(&list);
        const char* headers[] = {"  ", "N", "G", "X", "Y", "Z", "F", " "};
        const char* samples[] = {"+", "000", "M00", "-123456", "-12345", "-123456", "F000", "XX"};
        for (int c = 0; c < 8; ++c)
            view.setColumn(c + 1, headers[c], samples[c]);
        view.resize(420, view.headerHeight() + 24 * view.rowHeight());
        view.initList();
        for (int i = 0; i < kRows; ++i) {
            ProgramRow row;
            row.setColumn(1, " ");
            row.setColumn(2, QString::number(i).rightJustified(3, ' '));
            row.setColumn(3, " 01");
            row.setColumn(4, "  1250");
            row.setColumn(5, " -500");
            row.setColumn(6, "  -2000");
            row.setColumn(7, "  80");
            row.setColumn(8, "Schlichten");
            list.ListAddItem(row);
        }
        view.show();
        for (int i = 0; i < 20 && !view.windowHandle()->isExposed(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        list.ListSetIndex(1);
        QCoreApplication::processEvents();
        flush();
        view.paintedPixels = 0;
    }

    // Back and forth through the whole program, so steps that scroll count too.
    void step()
    {
        const int current = list.state().listIndex;
        if (current >= kRows)
            down = false;
        else if (current <= 1)
            down = true;
        QKeyEvent press(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    }

    // Paints what the step invalidated, as the event loop would.
    void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }
};

void BM_ArrowStepPartialRepaint(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        f.step();
        f.flush();
    }
    state.counters["painted px/step"] = benchmark::Counter(
        static_cast<double>(f.view.paintedPixels) / static_cast<double>(state.iterations()));
    state.counters["full px"] = f.view.width() * f.view.height();
}
BENCHMARK(BM_ArrowStepPartialRepaint)->Unit(benchmark::kMicrosecond);

// For comparison: the same step with the whole list painted again.
void BM_ArrowStepFullRepaint(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        f.step();
        f.view.repaint();
    }
    state.counters["painted px/step"] = benchmark::Counter(
        static_cast<double>(f.view.paintedPixels) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ArrowStepFullRepaint)->Unit(benchmark::kMicrosecond);

// The step rendered into an image, independent of the platform's backing store.
void BM_ArrowStepRenderToImage(benchmark::State& state)
{
    Fixture f;
    QImage image(f.view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        f.step();
        f.flush();
        f.view.render(&image);
    }
}
BENCHMARK(BM_ArrowStepRenderToImage)->Unit(benchmark::kMicrosecond);

// The list's own bookkeeping for a step, without any painting.
void BM_ArrowStepControlOnly(benchmark::State& state)
{
    ListControl list;
    list.ListInit(24, 16);
    for (int i = 0; i < kRows; ++i)
        list.ListAddItem(ProgramRow{});
    list.ListSetIndex(1);
    bool down = true;
    for (auto _ : state) {
        const int current = list.state().listIndex;
        if (current >= kRows)
            down = false;
        else if (current <= 1)
            down = true;
        list.ListKeyDown(down ? ListKey::Down : ListKey::Up);
    }
}
BENCHMARK(BM_ArrowStepControlOnly);

}  // namespace

int main(int argc, char** argv)
{
    // Measured without a display unless one is chosen explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
