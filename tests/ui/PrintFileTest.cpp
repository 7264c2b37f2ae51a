#include "model/ProgramLine.h"
#include "shell/Logger.h"
#include "shell/MessageSink.h"
#include "ui/PrintFile.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

using namespace quillon;
using namespace quillon::testing;

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

}  // namespace

// The printer dialog offers no range, selection or file; a failing printer
// is a message, and the commands come back however the job ends.
TEST(PrintFile, FailingPrinterIsAMessageAndTheEditorGoesOn)
{
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = PrintFile::printDialog(printer, nullptr);
    for (auto option : {QAbstractPrintDialog::PrintToFile, QAbstractPrintDialog::PrintPageRange,
                        QAbstractPrintDialog::PrintSelection, QAbstractPrintDialog::PrintCurrentPage})
        EXPECT_FALSE(dialog->testOption(option)) << option;

    QTemporaryDir dir;
    QWidget window;
    RecordingSink messages;
    std::vector<bool> states;
    Logger log(dir.filePath(QStringLiteral("Quillon.log")), [](const QString&) { return std::nullopt; });
    PrintFile printFile(&window, messages, [&states](bool on) { states.push_back(on); }, &log);
    for (const char* out : {"fehlt/liste.pdf", "liste.pdf"}) {
        SCOPED_TRACE(out);
        states.clear();
        QPrinter pdf;
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath(QString::fromLatin1(out)));
        EXPECT_EQ(printFile.printOn(pdf, millProgram(5), MachineType::F1, QString(), kStamp), out[0] == 'l');
        EXPECT_EQ(states, std::vector<bool>({false, true}));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ASSERT_EQ(messages.boxes.size(), 1u);
    }
    EXPECT_TRUE(messages.boxes[0].message.startsWith(QStringLiteral("Die Datei konnte nicht gedruckt werden.")));
    EXPECT_TRUE(bytesOf(log.logFileName()).contains("Die Datei konnte nicht gedruckt werden."));
    EXPECT_TRUE(bytesOf(dir.filePath(QStringLiteral("liste.pdf"))).startsWith("%PDF-"));
}

TEST(PrintFile, NoPrinterOffersThePdfInstead)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    QTemporaryDir dir;
    const QString cnc = dir.filePath(QStringLiteral("teil.cnc"));
    QWidget window;
    RecordingSink messages;
    std::vector<bool> states;
    auto commandState = [&states](bool on) { states.push_back(on); };

    // No: nothing else happens.
    EXPECT_FALSE(printProgram(&window, messages, millProgram(2), MachineType::F1, cnc, commandState));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].message,
              "Es ist kein Drucker installiert.\r\nSoll das Programm als PDF gespeichert werden?");
    EXPECT_TRUE(states.empty());

    // Yes: the save dialog offers the program's name with ".pdf", which is
    // taken as it is.
    messages.answers = {MsgResult::Yes};
    QString title, offered;
    ModalScript save({[&](QWidget* w) {
        auto* files = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(files, nullptr);
        title = files->windowTitle();
        offered = files->selectedFiles().value(0);
        QMetaObject::invokeMethod(files, "accept");
    }});
    EXPECT_TRUE(printProgram(&window, messages, millProgram(2), MachineType::F1, cnc, commandState));
    EXPECT_EQ(title, "Als PDF speichern");
    EXPECT_EQ(offered, dir.filePath(QStringLiteral("teil.pdf")));
    EXPECT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(states, std::vector<bool>({false, true}));
    EXPECT_TRUE(bytesOf(offered).startsWith("%PDF-"));

    // A PDF that cannot be written names the file and why.
    PrintFile printFile(&window, messages);
    const QString unwritable = dir.filePath(QStringLiteral("fehlt/liste.pdf"));
    EXPECT_FALSE(printFile.writePdf(unwritable, millProgram(2), MachineType::F1, cnc, kStamp));
    ASSERT_EQ(messages.boxes.size(), 3u);
    EXPECT_TRUE(messages.boxes[2].message.startsWith("Die PDF-Datei kann nicht geschrieben werden: " + unwritable + "\r\n"));
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST(PrintFile, PreviewShowsEveryPage)
{
    QWidget window;
    QString title;
    int pages = -1;
    ModalScript preview({[&](QWidget* w) {
        title = w->windowTitle();
        if (auto* view = w->findChild<QPrintPreviewWidget*>())
            pages = view->pageCount();
        w->close();
    }});
    RecordingSink messages;
    previewProgram(&window, messages, millProgram(150), MachineType::F1, QStringLiteral("/tmp/teil.cnc"));
    EXPECT_EQ(title, "Druckvorschau");
    EXPECT_EQ(pages, 3);
    EXPECT_TRUE(messages.boxes.empty());
}
