#include "editing/ParameterRules.h"

#include "model/MachineProfile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct RangeCase {
    MachineType machine;
    bool woodworker;
    const char* letter;
    Units units;
    const char* text;
    const char* message;  // "" = accepted
};

const QString kMin = QStringLiteral("Der mindest Wert für diesen Parameter ist ");
const QString kMax = QStringLiteral("Der maximalwert für diesen Parameter ist ");

}  // namespace

TEST(ParameterRules, RangeCheckLimitsMessagesAndFallbackRecord)
{
    const RangeCase cases[] = {
        {MachineType::Mark4, false, "F", Units::Metric, "   ", "min 2"},
        {MachineType::Mark4, false, "X", Units::Metric, "     ", ""},
        {MachineType::Mark4, false, "F", Units::Metric, "499", ""},
        {MachineType::Mark4, false, "F", Units::Metric, "500", "max 499"},
        {MachineType::Mark4, false, "F", Units::Imperial, "199", ""},
        {MachineType::Mark4, false, "F", Units::Imperial, "200", "max 199"},
        {MachineType::Mark4, false, "h", Units::Metric, "5", "min 10"},
        {MachineType::Mark4, false, "X", Units::Metric, "-5999", ""},
        {MachineType::Mark4, false, "X", Units::Metric, "-6000", "min -5999"},
        {MachineType::Mark4, false, "X", Units::Metric, "-", ""},
        {MachineType::Mark4, false, "X", Units::Metric, " 1 2", ""},  // blanks ignored: 12
        {MachineType::Mark4, false, "y", Units::Metric, "32760", ""},  // M98 "y" checked as the last record k
        {MachineType::Mark4, false, "y", Units::Metric, "32761", "max 32760"},
        {MachineType::Mark4, false, "X", Units::Metric, "99999999999999", "max 5999"},
        {MachineType::Mark2, false, "k", Units::Metric, "1", "min 2"},
        {MachineType::Mark2, false, "f", Units::Metric, "1", ""},
        {MachineType::F1, false, "S", Units::Metric, "2000", ""},
        {MachineType::F1, false, "S", Units::Metric, "2001", "max 2000"},
        {MachineType::F1, true, "S", Units::Metric, "8000", ""},
        {MachineType::F1, true, "S", Units::Imperial, "8001", "max 8000"},
        {MachineType::F1, false, "X", Units::Metric, "12-5", ""},
    };
    for (const RangeCase& c : cases) {
        CodeTables t;
        t.GetCommands(c.machine, c.woodworker);
        const QString text = QString::fromLatin1(c.text);
        const RangeVerdict v = checkParamRange(t, QString::fromLatin1(c.letter), c.units,
                                               paramFieldValue(text));
        SCOPED_TRACE(std::string(c.letter) + " = '" + c.text + "'");
        const QString expected = QString::fromLatin1(c.message);
        if (expected.isEmpty()) {
            EXPECT_TRUE(v.accepted);
            EXPECT_TRUE(v.message.isEmpty());
        } else {
            EXPECT_FALSE(v.accepted);
            const QString bound = expected.mid(4);
            EXPECT_EQ(v.message, (expected.startsWith(QLatin1String("min")) ? kMin : kMax) + bound);
        }
    }
    EXPECT_EQ(rangeMessageTitle(Units::Imperial), QStringLiteral("Parameter Eingabe (imperial einheiten)"));
}

TEST(ParameterRules, FieldValueReadsTheLeadingWholeNumber)
{
    EXPECT_EQ(paramFieldValue(QStringLiteral("")), 0);
    EXPECT_EQ(paramFieldValue(QStringLiteral("  -  250 ")), -250);
    EXPECT_EQ(paramFieldValue(QStringLiteral("12.7")), 12);
    EXPECT_EQ(paramFieldValue(QStringLiteral("abc")), 0);
    EXPECT_EQ(paramFieldValue(QStringLiteral("1-2")), 1);
}

TEST(ParameterRules, KeyFilterAndCaptions)
{
    for (QChar c : QStringLiteral("0123456789-"))
        EXPECT_TRUE(blnParamKeyAccepted(c)) << int(c.unicode());
    for (ushort u : {8, 3, 22, 23, 24, 25, 26})
        EXPECT_TRUE(blnParamKeyAccepted(QChar(u))) << u;
    for (QChar c : QStringLiteral(".,aX+ \r\t"))
        EXPECT_FALSE(blnParamKeyAccepted(c)) << int(c.unicode());

    const char* captions[][2] = {
        {"X", "X"}, {"f", "F"}, {"h", "H"}, {"k", "K"}, {"i", "I"}, {"j", "J"}, {"y", "Y"},
        {"D", "Zeit"}, {"t", "Zeit"}, {"L", "Zeile"}, {"d", "Radius"}, {"S", "Geschwindigkeit"},
        {"T", "Werkzeug"}, {"O", "Korrekturwert"}, {"Q", ""}, {"", ""},
    };
    for (const auto& c : captions)
        EXPECT_EQ(strParamCaption(QString::fromLatin1(c[0])), QString::fromLatin1(c[1])) << c[0];
}

TEST(ParameterRules, SlotTextsPerMachine)
{
    struct Case {
        MachineType m;
        int slot;
        const char* letter;
        long long value;
        const char* text;
    } cases[] = {
        {MachineType::Mark4, 4, "K", 150, "K150"},
        {MachineType::Mark4, 4, "T", 1, "T 01"},
        {MachineType::Mark4, 4, "L", 40, "L 40"},
        {MachineType::Mark4, 4, "F", 100, " 100"},
        {MachineType::Mark4, 3, "k", 250, "K   250"},
        {MachineType::Mark4, 3, "Z", -500, " -  500"},
        {MachineType::Mark4, 1, "i", -30, "I   30"},
        {MachineType::Mark4, 5, "h", 50, "  50"},
        {MachineType::Mark2, 1, "X", -250, " - 250"},
        {MachineType::Mark2, 1, "X", 7, "    07"},
        {MachineType::Mark2, 4, "f", 12, "  12"},
        {MachineType::Mark2, 4, "k", 150, " 150"},
        {MachineType::F1, 1, "X", -19999, "-19999"},
        {MachineType::F1, 1, "d", 300, "D  300"},
        {MachineType::F1, 2, "S", 8000, "S8000"},
        {MachineType::F1, 2, "j", 5, "J  05"},
        {MachineType::F1, 2, "Y", -5, "-  05"},
        {MachineType::F1, 3, "k", 12, "K   12"},
        {MachineType::F1, 4, "T", 3, "T 03"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strSlotText(c.m, c.slot, QString::fromLatin1(c.letter), c.value),
                  QString::fromLatin1(c.text))
            << c.letter << " " << c.value;
    EXPECT_EQ(slotColumnWidth(MachineType::Mark2, 2), 0);
    EXPECT_EQ(slotColumnWidth(MachineType::Mark4, 5), 4);
    EXPECT_EQ(slotColumnWidth(MachineType::F1, 3), 6);
}

TEST(ParameterRules, HAlarmOnlyForMark4CyclesWhenHExceeds)
{
    auto row = [](const char* g, const char* x, const char* z, const char* h) {
        const ColumnNumbers& c = machineProfile(MachineType::Mark4).columns;
        ProgramRow r;
        r.setColumn(c.g, QString::fromLatin1(g));
        r.setColumn(c.x, QString::fromLatin1(x));
        r.setColumn(c.z, QString::fromLatin1(z));
        r.setColumn(c.h, QString::fromLatin1(h));
        return r;
    };
    const auto m4 = MachineType::Mark4;
    EXPECT_EQ(hAlarmMessage(m4, row(" 86", "    50", "      0", "  60")),
              QStringLiteral("G86: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_EQ(hAlarmMessage(m4, row(" 84", " -  50", "      0", "  60")),
              QStringLiteral("G84: der 'H' Wert darf nicht größer sein als der X-Wert"));
    EXPECT_FALSE(hAlarmMessage(m4, row(" 84", "    60", "      0", "  60")));  // equal passes
    EXPECT_FALSE(hAlarmMessage(m4, row(" 78", "   100", "      0", "  60")));
    EXPECT_EQ(hAlarmMessage(m4, row(" 88", "   900", " -   40", "  60")),
              QStringLiteral("G88: der 'H' Wert darf nicht größer sein als der Z-Wert"));
    EXPECT_FALSE(hAlarmMessage(m4, row(" 88", "    10", "    100", "  60")));
    EXPECT_FALSE(hAlarmMessage(m4, row(" 01", "    10", "      0", "  60")));
    EXPECT_FALSE(hAlarmMessage(MachineType::Mark2, row(" 84", "    10", "      0", "  60")));
}
