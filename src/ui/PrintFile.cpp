#include "PrintFile.h"

#include "print/ListingRenderer.h"
#include "shell/Logger.h"
#include "shell/MessageSink.h"
#include "shell/TraceScope.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace quillon {

namespace {

constexpr const char* kModule = "modQuillon";

// Commands off and the wait cursor on for as long as it lives.
class BusyGuard {
public:
    explicit BusyGuard(const std::function<void(bool)>& commandState) : commandState_(commandState)
    {
        if (commandState_)
            commandState_(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyGuard()
    {
        QApplication::restoreOverrideCursor();
        if (commandState_)
            commandState_(true);
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    const std::function<void(bool)>& commandState_;
};

// A printer tells of a job it lost on the way only through its state.
ListingRenderer::Result checkedJob(const QPrinter& printer, ListingRenderer::Result result)
{
    if (result.ok && (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)) {
        result.ok = false;
        result.message = ListingRenderer::failureText(QStringLiteral("Der Druckauftrag wurde nicht abgeschlossen."));
    }
    return result;
}

}  // namespace

PrintFile::PrintFile(QWidget* parent, MessageSink& messages, std::function<void(bool)> commandState, Logger* logger)
    : parent_(parent), messages_(messages), commandState_(std::move(commandState)), logger_(logger)
{
}

bool PrintFile::print(const Program& program, MachineType machine, const QString& fileName)
{
    const TraceScope trace(logger_, kModule, "PrintFile");
    // Without a printer the dialog could offer nothing to choose.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const int answer = messages_.intStdMsgBox(
            QStringLiteral("Es ist kein Drucker installiert.\r\nSoll das Programm als PDF gespeichert werden?"),
            MsgStyle::Question, QString::fromUtf8(kPrintDialogTitle));
        return answer == MsgResult::Yes && saveAsPdf(program, machine, fileName);
    }
    QPrinter printer(QPrinter::HighResolution);
    if (printDialog(printer, parent_)->exec() != QDialog::Accepted)
        return false;
    return printOn(printer, program, machine, fileName, printStamp(QDateTime::currentDateTime()));
}

std::unique_ptr<QPrintDialog> PrintFile::printDialog(QPrinter& printer, QWidget* parent)
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setObjectName(QStringLiteral("dlgFile"));
    dialog->setWindowTitle(QString::fromUtf8(kPrintDialogTitle));
    // The whole program goes to a printer.
    dialog->setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    return dialog;
}

void PrintFile::preview(const Program& program, MachineType machine, const QString& fileName)
{
    const TraceScope trace(logger_, kModule, "PrintPreview");
    const PrintStamp stamp = printStamp(QDateTime::currentDateTime());
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setObjectName(QStringLiteral("dlgPreview"));
    dialog.setWindowTitle(QString::fromUtf8(kPreviewTitle));
    // The preview draws on its own device; printing from it draws on the
    // chosen printer, where a failure is told once the dialog has gone.
    QString failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        const ListingRenderer::Result r =
            checkedJob(*target, ListingRenderer::render(*target, program, machine, fileName, stamp));
        if (!r.ok)
            failure = r.message;
    });
    dialog.exec();
    if (!failure.isEmpty())
        showFailure(failure);
}

bool PrintFile::printOn(QPrinter& printer, const Program& program, MachineType machine, const QString& fileName,
                        const PrintStamp& stamp)
{
    ListingRenderer::Result result;
    {
        BusyGuard busy(commandState_);
        result = checkedJob(printer, ListingRenderer::render(printer, program, machine, fileName, stamp));
    }
    if (!result.ok)
        showFailure(result.message);
    return result.ok;
}

QString PrintFile::pdfNameFor(const QString& fileName)
{
    if (fileName.isEmpty())
        return QStringLiteral("unbenannt.pdf");
    const QFileInfo info(fileName);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

bool PrintFile::saveAsPdf(const Program& program, MachineType machine, const QString& fileName)
{
    const TraceScope trace(logger_, kModule, "SavePdf");
    QFileDialog dialog(parent_, QString::fromUtf8(kPdfDialogTitle));
    dialog.setObjectName(QStringLiteral("dlgPdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(pdfNameFor(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return writePdf(dialog.selectedFiles().constFirst(), program, machine, fileName,
                    printStamp(QDateTime::currentDateTime()));
}

bool PrintFile::writePdf(const QString& pdfPath, const Program& program, MachineType machine,
                         const QString& fileName, const PrintStamp& stamp)
{
    ListingRenderer::Result result;
    {
        BusyGuard busy(commandState_);
        result = ListingRenderer::writePdf(pdfPath, program, machine, fileName, stamp);
    }
    if (!result.fileError.isEmpty())
        showFailure(QStringLiteral("Die PDF-Datei kann nicht geschrieben werden: ") + pdfPath + QStringLiteral("\r\n")
                    + result.fileError);
    else if (!result.ok)
        showFailure(result.message);
    return result.ok;
}

void PrintFile::showFailure(const QString& message)
{
    if (logger_)
        logger_->LogEntry(QString::fromLatin1(kModule), QStringLiteral("PrintFile"), LogLevel::Error, message);
    messages_.StdMsgBox(message, MsgStyle::Exclamation, QString::fromUtf8(kPrintDialogTitle));
}

bool printProgram(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                  const QString& fileName, std::function<void(bool)> commandState, Logger* logger)
{
    return PrintFile(parent, messages, std::move(commandState), logger).print(program, machine, fileName);
}

void previewProgram(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                    const QString& fileName, Logger* logger)
{
    PrintFile(parent, messages, {}, logger).preview(program, machine, fileName);
}

bool saveProgramPdf(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                    const QString& fileName, std::function<void(bool)> commandState, Logger* logger)
{
    return PrintFile(parent, messages, std::move(commandState), logger).saveAsPdf(program, machine, fileName);
}

}  // namespace quillon
