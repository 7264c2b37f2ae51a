#include "LineNumbers.h"

#include "editing/ParameterRules.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace quillon {

namespace {

// The slot of the L value a call or jump carries.
constexpr int kTargetSlot = 4;

bool isCallOrJump(const QString& codeColumn)
{
    const QString code = strClean(codeColumn);
    return code == QLatin1String("25") || code == QLatin1String("27");
}

}  // namespace

int lineNumberOf(const QString& nColumn)
{
    return static_cast<int>(std::lround(leadingNumber(nColumn)));
}

int highestLineNumber(const ListControl& list, MachineType machine)
{
    const int n = machineProfile(machine).columns.n;
    int highest = -1;
    for (int r = 1; r <= list.count(); ++r)
        highest = std::max(highest, lineNumberOf(list.item(r).column(n)));
    return highest;
}

void shiftLineNumbers(ListControl& list, MachineType machine, int from, int delta)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    // Old number -> new number; a number carried twice follows its first
    // row, as a call looks a line up.
    std::map<int, int> moved;
    for (int r = std::max(1, from); r <= list.count(); ++r) {
        ListItem& item = list.item(r);
        const int old = lineNumberOf(item.column(c.n));
        moved.emplace(old, old + delta);
        item.setColumn(c.n, strFormatNumber(QString::number(old + delta), 3, false));
        item.repaint = true;
    }
    if (moved.empty() || machine == MachineType::Mark2)
        return;  // the Mark 2 has no calls or jumps
    for (int r = 1; r <= list.count(); ++r) {
        ListItem& item = list.item(r);
        if (!isCallOrJump(item.column(c.g)))
            continue;
        const auto target = moved.find(static_cast<int>(paramFieldValue(strClean(item.column(c.f)))));
        if (target == moved.end() || strClean(item.column(c.f)).isEmpty())
            continue;
        item.setColumn(c.f, strSlotText(machine, kTargetSlot, QStringLiteral("L"), target->second));
        item.repaint = true;
    }
}

QString lineNumberLimitMessage()
{
    return QStringLiteral("Die Zeilennummern reichen bis 999; es kann keine weitere Zeile eingefügt werden.");
}

}  // namespace quillon
