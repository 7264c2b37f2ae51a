#pragma once

#include "model/MachineType.h"
#include "model/Program.h"
#include "print/PrintListing.h"

#include <QString>
#include <functional>
#include <memory>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace quillon {

class Logger;
class MessageSink;

inline constexpr const char* kPrintDialogTitle = "Datei Drucken";
inline constexpr const char* kPreviewTitle = "Druckvorschau";
inline constexpr const char* kPdfDialogTitle = "Als PDF speichern";

// The File menu's "Drucken" and "Druckvorschau". While a job runs the
// window's commands are off and the wait cursor shows; both come back
// however the job ends, and a printer failure is a message, not the end of
// the program.
class PrintFile {
public:
    // `commandState(false)` disables the window's commands, `(true)` enables
    // them again. Failures are told through `messages` and, with a logger,
    // written to the log as errors.
    PrintFile(QWidget* parent, MessageSink& messages, std::function<void(bool)> commandState = {},
              Logger* logger = nullptr);

    // The printer dialog "Datei Drucken", then the job. Cancel prints nothing.
    // Without a printer the listing is offered as a PDF instead. True when a
    // job was printed (or the PDF written).
    bool print(const Program& program, MachineType machine, const QString& fileName);

    // "Als PDF speichern ...": a save dialog offering the program's name with
    // ".pdf", then the listing as an A4 PDF. Cancel writes nothing. True
    // when the file was written.
    bool saveAsPdf(const Program& program, MachineType machine, const QString& fileName);

    // The PDF into a chosen path, with the stamp of its start. Tells the
    // failure when it goes wrong.
    bool writePdf(const QString& pdfPath, const Program& program, MachineType machine, const QString& fileName,
                  const PrintStamp& stamp);

    // The file name the PDF dialog offers: the program's own with ".pdf", or
    // "unbenannt.pdf" for an unnamed program.
    static QString pdfNameFor(const QString& fileName);

    // The same listing in Qt's print preview, from which it can be printed.
    void preview(const Program& program, MachineType machine, const QString& fileName);

    // The job on an already chosen printer, with the stamp of its start.
    // Tells the failure when it goes wrong.
    bool printOn(QPrinter& printer, const Program& program, MachineType machine, const QString& fileName,
                 const PrintStamp& stamp);

    // The printer dialog "Datei Drucken": a printer choice and its settings,
    // without page ranges, selection or printing to a file.
    static std::unique_ptr<QPrintDialog> printDialog(QPrinter& printer, QWidget* parent);

private:
    void showFailure(const QString& message);

    QWidget* parent_;
    MessageSink& messages_;
    std::function<void(bool)> commandState_;
    Logger* logger_;
};

// One-call forms for the main window.
bool printProgram(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                  const QString& fileName, std::function<void(bool)> commandState = {}, Logger* logger = nullptr);
void previewProgram(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                    const QString& fileName, Logger* logger = nullptr);
bool saveProgramPdf(QWidget* parent, MessageSink& messages, const Program& program, MachineType machine,
                    const QString& fileName, std::function<void(bool)> commandState = {}, Logger* logger = nullptr);

}  // namespace quillon
