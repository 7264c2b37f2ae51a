#include "editing/ParameterRules.h"

#include "model/MachineProfile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(ParameterRules, RangesPerMachineUnitsAndLetter)
{
    const QString min = QStringLiteral("Der mindest Wert für diesen Parameter ist "), max = QStringLiteral("Der maximalwert für diesen Parameter ist ");
    // machine, woodworker, letter, units, field text, the refusal ("" = accepted)
    struct Case { MachineType machine; bool woodworker; const char* letter; Units units; const char* text; QString message; } cases[] = {
        {MachineType::Mark4, false, "F", Units::Metric, "   ", min + "2"},
        {MachineType::Mark4, false, "X", Units::Metric, "     ", ""},
        {MachineType::Mark4, false, "F", Units::Metric, "499", ""},
        {MachineType::Mark4, false, "F", Units::Metric, "500", max + "499"},
        {MachineType::Mark4, false, "F", Units::Imperial, "200", max + "199"},
        {MachineType::Mark4, false, "h", Units::Metric, "5", min + "10"},
        {MachineType::Mark4, false, "X", Units::Metric, "-5999", ""},
        {MachineType::Mark4, false, "X", Units::Metric, "-6000", min + "-5999"},
        {MachineType::Mark4, false, "X", Units::Metric, " 1 2", ""},  // blanks ignored: 12
        {MachineType::Mark4, false, "y", Units::Metric, "32761", max + "32760"},  // M98 "y" is checked as the last entry, k
        {MachineType::Mark4, false, "X", Units::Metric, "99999999999999", max + "5999"},
        {MachineType::Mark2, false, "k", Units::Metric, "1", min + "2"},
        {MachineType::F1, false, "S", Units::Metric, "2001", max + "2000"},
        {MachineType::F1, true, "S", Units::Metric, "8000", ""},
        {MachineType::F1, true, "T", Units::Metric, "500", max + "499"},
        {MachineType::None, false, "X", Units::Metric, "99999", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.letter) + " = '" + c.text + "'");
        CodeTables t;
        t.GetCommands(c.machine, c.woodworker);
        const RangeVerdict v = checkParamRange(t, QString::fromLatin1(c.letter), c.units, paramFieldValue(QString::fromLatin1(c.text)));
        EXPECT_EQ(v.accepted, c.message.isEmpty());
        EXPECT_EQ(v.message, c.message);
    }
    for (const auto& [text, value] : {std::pair<const char*, long long>{"", 0}, {"  -  250 ", -250}, {"12.7", 12}, {"abc", 0}, {"1-2", 1}})
        EXPECT_EQ(paramFieldValue(QString::fromLatin1(text)), value) << text;
}

TEST(ParameterRules, KeysAndSlotTextsPerMachine)
{
    for (QChar c : QStringLiteral("0123456789-\x08\x03\x16\x17\x18\x19\x1a"))
        EXPECT_TRUE(blnParamKeyAccepted(c)) << int(c.unicode());
    for (QChar c : QStringLiteral(".,aX+ \r\t"))
        EXPECT_FALSE(blnParamKeyAccepted(c)) << int(c.unicode());

    struct Case { MachineType m; int slot; const char* letter; long long value; const char* text; } cases[] = {
        {MachineType::Mark4, 4, "K", 150, "K150"},     {MachineType::Mark4, 4, "T", 1, "T 01"},
        {MachineType::Mark4, 4, "F", 100, " 100"},     {MachineType::Mark4, 3, "k", 250, "K   250"},
        {MachineType::Mark4, 3, "Z", -500, " -  500"}, {MachineType::Mark4, 1, "i", -30, "I   30"},
        {MachineType::Mark4, 2, "X", 1, ""},           {MachineType::Mark2, 1, "X", -250, " - 250"},
        {MachineType::Mark2, 3, "Z", 7, "     07"},    {MachineType::Mark2, 4, "f", 12, "  12"},
        {MachineType::Mark2, 2, "X", 1, ""},           {MachineType::F1, 1, "X", -19999, "-19999"},
        {MachineType::F1, 1, "d", 300, "D  300"},      {MachineType::F1, 1, "i", 5, "I   05"},
        {MachineType::F1, 2, "S", 8000, "S8000"},      {MachineType::F1, 2, "j", 5, "J  05"},
        {MachineType::F1, 2, "Y", -5, "-  05"},        {MachineType::F1, 3, "k", 12, "K   12"},
        {MachineType::F1, 4, "F", 3, "  03"},          {MachineType::F1, 5, "X", 1, ""},
        {MachineType::None, 1, "X", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strSlotText(c.m, c.slot, QString::fromLatin1(c.letter), c.value), QString::fromLatin1(c.text))
            << machineNumber(c.m) << " " << c.slot << c.letter << " " << c.value;
}

TEST(ParameterRules, HAlarmOnlyForMark4CyclesWhenHExceedsXOrForG88Z)
{
    const QString alarm = QStringLiteral(": der 'H' Wert darf nicht größer sein als der ");
    struct Case { MachineType machine; const char* g; const char* x; const char* z; QString message; } cases[] = {
        {MachineType::Mark4, " 86", "    50", "      0", "G86" + alarm + "X-Wert"},
        {MachineType::Mark4, " 84", " -  50", "      0", "G84" + alarm + "X-Wert"},
        {MachineType::Mark4, " 84", "    60", "      0", ""},  // equal passes
        {MachineType::Mark4, " 88", "   900", " -   40", "G88" + alarm + "Z-Wert"},
        {MachineType::Mark4, " 88", "    10", "    100", ""},
        {MachineType::Mark4, " 01", "    10", "      0", ""},
        {MachineType::Mark2, " 84", "    10", "      0", ""},
    };
    const ColumnNumbers& col = machineProfile(MachineType::Mark4).columns;
    for (const Case& c : cases) {
        ProgramRow r;
        r.setColumn(col.g, QString::fromLatin1(c.g));
        r.setColumn(col.x, QString::fromLatin1(c.x));
        r.setColumn(col.z, QString::fromLatin1(c.z));
        r.setColumn(col.h, QStringLiteral("  60"));
        EXPECT_EQ(hAlarmMessage(c.machine, r).value_or(QString()), c.message) << c.g << c.x;
    }
}
