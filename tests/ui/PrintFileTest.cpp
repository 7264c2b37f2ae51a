#include "model/ProgramLine.h"
#include "ui/PrintFile.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillon;

namespace {


Program millProgram(int count)
{
    Program p;
    for (int i = 0; i < count; ++i)
        p.rows.push_back(parseProgramLine(QStringLiteral("   %1 01   100  200  -300 100 Zeile").arg(i, 3),
                                          false, MachineType::F1).row);
    return p;
}

const PrintStamp kStamp{QStringLiteral("06.12.2026"), QStringLiteral("09:05")};

// Runs `inspect` on the next modal dialog and closes it, so exec() returns.
void onNextModal(std::function<void(QWidget*)> inspect)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            inspect(w);
            w->close();
        }
    });
    timer->start(20);
}

}  // namespace

TEST(PrintFile, FailingPrinterIsAMessageAndTheEditorGoesOn)
{
    QTemporaryDir dir;
    QWidget window;
    std::vector<bool> states;
    PrintFile printFile(&window, [&states](bool on) { states.push_back(on); });

    QPrinter broken;
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(dir.filePath(QStringLiteral("fehlt/liste.pdf")));
    QString shown;
    QString title;
    onNextModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            shown = box->text();
            title = box->windowTitle();
        }
    });
    EXPECT_FALSE(printFile.printOn(broken, millProgram(5), MachineType::F1, QString(), kStamp));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Die Datei konnte nicht gedruckt werden."))) << shown.toStdString();
    EXPECT_EQ(title, "Datei Drucken");
    EXPECT_EQ(states, std::vector<bool>({false, true}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A working printer: same command states, no message.
    states.clear();
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath(QStringLiteral("liste.pdf")));
    EXPECT_TRUE(printFile.printOn(pdf, millProgram(5), MachineType::F1, QString(), kStamp));
    EXPECT_EQ(states, std::vector<bool>({false, true}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(QFileInfo(pdf.outputFileName()).size() > 0);
}

TEST(PrintFile, PrinterDialogOffersNoRangeSelectionOrFile)
{
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = PrintFile::printDialog(printer, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Datei Drucken");
    EXPECT_EQ(dialog->objectName(), "dlgFile");
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintCurrentPage));
}

TEST(PrintFile, NoPrinterInstalledIsToldBeforeAnyDialog)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    QWidget window;
    bool touched = false;
    QString shown;
    onNextModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w))
            shown = box->text();
    });
    EXPECT_FALSE(printProgram(&window, millProgram(2), MachineType::F1, QString(), [&](bool) { touched = true; }));
    EXPECT_EQ(shown, "Es ist kein Drucker installiert.");
    EXPECT_FALSE(touched);
}

TEST(PrintFile, PreviewShowsEveryPage)
{
    QWidget window;
    QString title;
    int pages = -1;
    onNextModal([&](QWidget* w) {
        title = w->windowTitle();
        if (auto* view = w->findChild<QPrintPreviewWidget*>())
            pages = view->pageCount();
    });
    previewProgram(&window, millProgram(150), MachineType::F1, QStringLiteral("/tmp/teil.cnc"));
    EXPECT_EQ(title, "Druckvorschau");
    EXPECT_EQ(pages, 3);
}

// The application lives exactly as long as the tests, so its fonts and
// widgets are torn down before the process ends.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
