#pragma once

#include <QChar>
#include <QString>

namespace quillon {

// One program row as the walk reads it: the texts at the fixed positions
// of a Mark 4 line (a Mark 2 line is first brought onto these positions;
// a mill line keeps its own positions and adds the Y column).
struct LineRecord {
    QString text;          // the whole row line as it stands in the program text
    int row = -1;          // 0-based index of the program row the line was written from
    int lineNumber = 0;
    QString codeLetter;    // "M" for an M function; anything else is a G function
    int code = 0;
    QChar xSign;           // '-' for a negative value
    QString xDigits;
    QChar ySign;           // mill only
    QString yDigits;
    QChar zSign;
    QString zDigits;
    QString fDigits;       // feed, pitch, tool or target line, whatever the code's slot holds
    QString hDigits;       // Mark 4 only
    QString comment;

    bool isM() const { return codeLetter == QLatin1String("M"); }
};

}  // namespace quillon
