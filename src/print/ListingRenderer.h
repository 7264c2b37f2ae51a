#pragma once

#include "PrintListing.h"

#include <QFont>
#include <QString>

class QPagedPaintDevice;
class QPaintDevice;

namespace quillon {

// Draws the program listing on a printer, a print preview or a PDF writer:
// any paged device, so the command line can write a PDF without widgets.
class ListingRenderer {
public:
    struct Result {
        bool ok = false;
        int pages = 0;
        QString message;    // why nothing or not everything was printed
        QString fileError;  // writePdf: the PDF file could not be written, and why
    };

    // "Courier New" 10 point; where it is missing, its metric twin
    // "Liberation Mono", then any fixed-pitch font.
    static QFont printFont();

    // Lines and characters of the print font that fit the device's page
    // inside its margins, after the indent.
    static PrintPageSize pageSize(const QPaintDevice& device);

    // The message for a job that failed, with its reason.
    static QString failureText(const QString& reason);

    // Prints the whole listing as one job.
    static Result render(QPagedPaintDevice& device, const Program& program, MachineType machine, const QString& fileName,
                         const PrintStamp& stamp);

    // The listing as an A4 PDF in `pdfPath`, which is replaced only by a
    // whole document: a failed job leaves no half file.
    static Result writePdf(const QString& pdfPath, const Program& program, MachineType machine,
                           const QString& fileName, const PrintStamp& stamp);
};

}  // namespace quillon
