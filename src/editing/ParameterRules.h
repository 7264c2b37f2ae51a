#pragma once

#include "model/CodeTables.h"
#include "model/MachineType.h"
#include "model/ProgramRow.h"
#include "model/Units.h"

#include <QString>
#include <optional>

namespace quillon {

// Caption of a parameter field's label for the slot letter it carries:
// axis letters as themselves (upper-cased), the others as the German word.
QString strParamCaption(const QString& letter);

// The characters a parameter field lets through as typed: digits, the minus
// sign, Backspace and the clipboard control characters (3, 22 to 26).
bool blnParamKeyAccepted(QChar c);

// The whole number a parameter field stands for: blanks ignored, the leading
// signed digits, the rest ignored; empty or unreadable text is 0. Very long
// digit runs saturate so that they still fail the range check.
long long paramFieldValue(const QString& text);

// What the range check says about a value: no message when it lies inside the
// letter's range for the units (limits included).
struct RangeVerdict {
    bool accepted = true;
    QString message;
};
RangeVerdict checkParamRange(const CodeTables& tables, const QString& letter, Units units,
                             long long value);

// Title of the range message box, naming the raw units setting.
QString rangeMessageTitle(Units units);

// The text a slot (1 = X .. 5 = H) column receives for an accepted value, in
// the machine's fixed width and with the address letter the code's slot
// letter calls for.
QString strSlotText(MachineType machine, int slot, const QString& letter, long long value);

// Width of a slot column when blanked by a code change; 0 for a column the
// machine does not have.
int slotColumnWidth(MachineType machine, int slot);

// The H cross-check of the Mark 4 cycles on a stored row: the message when
// |H| exceeds |X| (|Z| for G88), nothing otherwise or on other machines.
std::optional<QString> hAlarmMessage(MachineType machine, const ProgramRow& row);

}  // namespace quillon
