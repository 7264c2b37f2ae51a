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
        QString message;  // why nothing or not everything was printed
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
};

}  // namespace quillon
