#pragma once

#include "PrintListing.h"

#include <QFont>
#include <QString>

class QPrinter;

namespace quillon {

// Draws the program listing on a printer, a PDF writer or a print preview.
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

    // Lines and characters of the print font that fit the printer's page
    // after the indent.
    static PrintPageSize pageSize(QPrinter& printer);

    // Prints the whole listing as one job.
    static Result render(QPrinter& printer, const Program& program, MachineType machine, const QString& fileName,
                         const PrintStamp& stamp);
};

}  // namespace quillon
