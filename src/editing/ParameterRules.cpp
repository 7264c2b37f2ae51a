#include "ParameterRules.h"

#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <cmath>
#include <cstdlib>

namespace quillon {

QString strParamCaption(const QString& letter)
{
    static const struct {
        const char* letter;
        const char* caption;
    } kCaptions[] = {
        {"X", "X"}, {"Y", "Y"}, {"Z", "Z"}, {"F", "F"}, {"f", "F"}, {"H", "H"}, {"h", "H"},
        {"K", "K"}, {"k", "K"}, {"i", "I"}, {"j", "J"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"},
        {"D", "Zeit"}, {"t", "Zeit"}, {"L", "Zeile"}, {"d", "Radius"},
        {"S", "Geschwindigkeit"}, {"T", "Werkzeug"}, {"O", "Korrekturwert"},
    };
    for (const auto& c : kCaptions) {
        if (letter == QLatin1String(c.letter))
            return QString::fromUtf8(c.caption);
    }
    return QString();
}

bool blnParamKeyAccepted(QChar c)
{
    const ushort u = c.unicode();
    return u == 8 || u == 3 || (u >= 22 && u <= 26) || (u >= '0' && u <= '9') || u == '-';
}

long long paramFieldValue(const QString& text)
{
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    qsizetype i = 0;
    bool negative = false;
    if (i < compact.size() && (compact[i] == QLatin1Char('-') || compact[i] == QLatin1Char('+'))) {
        negative = compact[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    constexpr long long kCeiling = 1000000000LL;
    for (; i < compact.size() && compact[i] >= QLatin1Char('0') && compact[i] <= QLatin1Char('9'); ++i) {
        if (value < kCeiling)
            value = value * 10 + (compact[i].unicode() - '0');
    }
    return negative ? -value : value;
}

RangeVerdict checkParamRange(const CodeTables& tables, const QString& letter, Units units,
                             long long value)
{
    RangeVerdict verdict;
    const RangeEntry* range = tables.rangeForLetter(letter);
    if (!range)
        return verdict;
    const bool metric = units == Units::Metric;
    const long long minimum = metric ? range->metricMin : range->imperialMin;
    const long long maximum = metric ? range->metricMax : range->imperialMax;
    if (value < minimum) {
        verdict.accepted = false;
        verdict.message = QStringLiteral("Der mindest Wert für diesen Parameter ist ")
                          + QString::number(minimum);
    } else if (value > maximum) {
        verdict.accepted = false;
        verdict.message = QStringLiteral("Der maximalwert für diesen Parameter ist ")
                          + QString::number(maximum);
    }
    return verdict;
}

QString rangeMessageTitle(Units units)
{
    return QStringLiteral("Parameter Eingabe (") + unitsSettingValue(units)
           + QStringLiteral(" einheiten)");
}

QString strSlotText(MachineType machine, int slot, const QString& letter, long long value)
{
    const QString v = QString::number(value);
    const QString blank(QLatin1Char(' '));
    auto num = [&v](int width, bool blnSigned) { return strFormatNumber(v, width, blnSigned); };
    auto is = [&letter](const char* l) { return letter == QLatin1String(l); };

    switch (machine) {
    case MachineType::F1:
        switch (slot) {
        case 1:
            if (is("d")) return QStringLiteral("D") + num(5, false);
            if (is("i")) return QStringLiteral("I") + num(5, false);
            return num(6, true);
        case 2:
            if (is("S")) return QStringLiteral("S") + num(4, false);
            if (is("j")) return QStringLiteral("J") + num(4, false);
            return num(5, true);
        case 3:
            if (is("k")) return QStringLiteral("K") + num(5, false);
            return num(6, true);
        case 4:
            if (is("F")) return blank + num(3, false);
            return letter + num(3, false);
        default: return QString();
        }
    case MachineType::Mark2:
        switch (slot) {
        case 1: return blank + num(5, true);
        case 3: return blank + num(6, true);
        case 4:
            if (letter.toUpper() == QLatin1String("F") || is("k")) return blank + num(3, false);
            return letter + num(3, false);
        default: return QString();
        }
    case MachineType::Mark4:
        switch (slot) {
        case 1:
            if (is("i")) return QStringLiteral("I") + num(5, false);
            return blank + num(5, true);
        case 3:
            if (is("k")) return QStringLiteral("K") + num(6, false);
            return blank + num(6, true);
        case 4:
            if (is("F")) return blank + num(3, false);
            return letter + num(3, false);
        case 5: return blank + num(3, false);
        default: return QString();
        }
    case MachineType::None: break;
    }
    return QString();
}

int slotColumnWidth(MachineType machine, int slot)
{
    static constexpr int kF1[] = {6, 5, 6, 4, 0};
    static constexpr int kMark2[] = {6, 0, 7, 4, 0};
    static constexpr int kMark4[] = {6, 0, 7, 4, 4};
    if (slot < 1 || slot > 5)
        return 0;
    switch (machine) {
    case MachineType::F1: return kF1[slot - 1];
    case MachineType::Mark2: return kMark2[slot - 1];
    case MachineType::Mark4: return kMark4[slot - 1];
    case MachineType::None: break;
    }
    return 0;
}

std::optional<QString> hAlarmMessage(MachineType machine, const ProgramRow& row)
{
    if (machine != MachineType::Mark4)
        return std::nullopt;
    const ColumnNumbers& c = machineProfile(machine).columns;
    const int code = static_cast<int>(std::lround(leadingNumber(row.column(c.g))));
    if (code != 78 && code != 84 && code != 86 && code != 88)
        return std::nullopt;
    const double h = std::fabs(leadingNumber(strClean(row.column(c.h))));
    const bool versusZ = code == 88;
    const double other = std::fabs(leadingNumber(strClean(row.column(versusZ ? c.z : c.x))));
    // The alarm fires when H is the greater of the two magnitudes; equal values
    // pass, and the message says so.
    if (h <= other)
        return std::nullopt;
    return QStringLiteral("G") + QString::number(code)
           + (versusZ ? QStringLiteral(": der 'H' Wert darf nicht größer sein als der Z-Wert")
                      : QStringLiteral(": der 'H' Wert darf nicht größer sein als der X-Wert"));
}

}  // namespace quillon
