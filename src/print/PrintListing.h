#pragma once

#include "model/MachineType.h"
#include "model/Program.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillon {

inline constexpr const char* kUnnamedFileText = "Datei nicht gespeichert";

// Date and time of printing as every page header shows them; taken once when
// printing starts, so a job that runs past a minute keeps one stamp.
struct PrintStamp {
    QString date;  // dd/mm/yyyy with the locale's date separator
    QString time;  // hh:mm with the locale's time separator
};

PrintStamp printStamp(const QDateTime& when, const QLocale& locale = QLocale::system());

// The page header without its page number, which follows it directly.
// An empty file name stands for an unnamed program.
QString printHeaderText(const QString& fileName, const PrintStamp& stamp);

// `path` in at most `room` characters for the header: the file name whole,
// the folders elided in the middle ("/home/.../kurs/teil.cnc"). A name that
// alone is too long is still kept whole, behind "...".
QString elidedPrintPath(const QString& path, qsizetype room);

// The size of a page in lines and characters of the print font.
struct PrintPageSize {
    int lines = 60;          // lines that fit between the top and bottom margins
    int charsPerLine = 0;    // characters that fit after the indent; 0: no limit
};

struct PrintPage {
    int number = 1;
    QStringList lines;  // from the top of the page, blank lines included
};

// The paginated listing: the program text line for line, each page under a
// header. Pages break only after program lines, when fewer than two lines
// remain, so the description, "%" and the column header stay with the first
// program lines and the unit line always fits below the last one.
struct PrintListing {
    std::vector<PrintPage> pages;
};

// Splits at CR LF, CR or LF alike.
QStringList splitAtLineBreaks(const QString& text);

PrintListing buildPrintListing(const Program& program, MachineType machine, const QString& fileName,
                               const PrintStamp& stamp, const PrintPageSize& size);

}  // namespace quillon
