// One arrow-key step in the editor window with a full mill program: the
// program list moves its selection, the editor shows the new line in the
// form (code, fields, buttons) and the changed rows are painted.
#include "ui/ListView.h"
#include "ui/MainWindow.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

constexpr int kRows = 222;

class SilentSink : public MessageSink {
public:
    int intStdMsgBox(const QString&, int style, const QString&) override
    {
        return style == MsgStyle::Question ? MsgResult::Yes : MsgResult::Ok;
    }
};

void BM_EditorArrowStep(benchmark::State& state)
{
    QTemporaryDir dir;
    ApplicationState app({dir.path(), dir.filePath("Quillon.ini"), dir.filePath("Quillon.log")},
                         [](const QString&) { return std::optional<QString>(); });
    app.setMachine(MachineType::F1);
    SilentSink sink;
    MainWindow window(app, sink);
    window.show();
    for (int i = 0; i < 20 && !window.windowHandle()->isExposed(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Editor& editor = window.editor();
    editor.NewFile();
    const ColumnNumbers& c = machineProfile(MachineType::F1).columns;
    for (int n = 1; n < kRows; ++n) {
        ProgramRow row;
        row.setColumn(c.mark, QStringLiteral(" "));
        row.setColumn(c.n, QString::number(n).rightJustified(3, QLatin1Char(' ')));
        row.setColumn(c.g, n % 3 ? QStringLiteral(" 01") : QStringLiteral("M06"));
        row.setColumn(c.x, QStringLiteral("  1250"));
        row.setColumn(c.y, QStringLiteral(" -500"));
        row.setColumn(c.z, QStringLiteral(" -2000"));
        row.setColumn(c.f, QStringLiteral("  80"));
        row.setColumn(c.comment, QStringLiteral("Schlichten"));
        editor.appendRow(row);
    }
    auto* list = window.findChild<ListView*>(QStringLiteral("picList"));
    list->setFocus();
    editor.programList().ListSetIndex(1);
    QCoreApplication::processEvents();

    bool down = true;
    for (auto _ : state) {
        const int current = editor.currentRow();
        if (current >= kRows)
            down = false;
        else if (current <= 1)
            down = true;
        QKeyEvent press(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(list, &press);
        // What the event loop does next: the deferred focus and the repaint.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(BM_EditorArrowStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
