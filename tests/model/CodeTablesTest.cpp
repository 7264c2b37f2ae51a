#include "model/CodeTables.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

int countG(const CodeTables& t)
{
    int n = 0;
    for (const CodeEntry& e : t.codes())
        n += e.isGCode() ? 1 : 0;
    return n;
}

}  // namespace

TEST(ItemSplitter, EmptyItemEndsTheText)
{
    QString text = QStringLiteral("a,,b");
    EXPECT_EQ(strGenNextItemInString(text), QStringLiteral("a"));
    EXPECT_EQ(text, QStringLiteral(",b,"));
    EXPECT_EQ(strGenNextItemInString(text), QString());
    EXPECT_TRUE(text.isEmpty());

    text = QStringLiteral(" ,b");
    EXPECT_EQ(strGenNextItemInString(text), QString());
    EXPECT_EQ(text, QStringLiteral("b,"));

    text = QStringLiteral("  last  ");
    EXPECT_EQ(strGenNextItemInString(text), QStringLiteral("last"));
    EXPECT_TRUE(text.isEmpty());
}

TEST(CodeTables, SizesPerMachineAndRebuildKeepsOneCopy)
{
    CodeTables t;
    t.GetCommands(MachineType::Mark2, false);
    EXPECT_EQ(t.codes().size(), 19u);
    EXPECT_EQ(countG(t), 19);
    EXPECT_EQ(t.ranges().size(), 5u);

    t.GetCommands(MachineType::Mark4, false);
    EXPECT_EQ(t.codes().size(), 34u);
    EXPECT_EQ(countG(t), 26);
    EXPECT_EQ(t.ranges().size(), 13u);

    t.GetCommands(MachineType::F1, false);
    t.GetCommands(MachineType::F1, false);
    EXPECT_EQ(t.codes().size(), 32u);
    EXPECT_EQ(countG(t), 24);
    EXPECT_EQ(t.ranges().size(), 17u);

    t.GetCommands(MachineType::None, false);
    EXPECT_TRUE(t.codes().empty());
    EXPECT_TRUE(t.ranges().empty());
}

TEST(CodeTables, DefinitionsParseIntoSlots)
{
    CodeTables t;
    t.GetCommands(MachineType::F1, false);
    const CodeEntry* g04 = t.findCode(QStringLiteral("G04"));
    ASSERT_NE(g04, nullptr);
    EXPECT_EQ(g04->slotLetters[0], QStringLiteral("D"));
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(g04->slotLetters[static_cast<size_t>(i)].isEmpty()) << i;
    EXPECT_EQ(g04->description, QStringLiteral("Verweilzeit"));

    const CodeEntry* m06 = t.findCode(QStringLiteral("M06"));
    ASSERT_NE(m06, nullptr);
    EXPECT_EQ(m06->slotLetters, (std::array<QString, 5>{"d", "S", "O", "T", ""}));
    EXPECT_EQ(m06->description, QStringLiteral("Werkzeug Wechsel"));

    // The trailing blank of this description is trimmed like any item.
    EXPECT_EQ(t.findCode(QStringLiteral("G46"))->description, QStringLiteral("Subtrahiere Werkzeugradius"));
    EXPECT_EQ(t.findCode(QStringLiteral("G40"))->description,
              QString::fromUtf8("Werkzeugradiuskorrektur löschen"));

    t.GetCommands(MachineType::Mark4, false);
    EXPECT_EQ(t.findCode(QStringLiteral("G33"))->description, QStringLiteral("Gewindeschneiden"));
    EXPECT_EQ(t.findCode(QStringLiteral("M06"))->description, QString::fromUtf8("Werkzeuglängenverrechnung"));
    EXPECT_EQ(t.findCode(QStringLiteral("G86"))->slotLetters[4], QStringLiteral("h"));
    EXPECT_EQ(t.findCode(QStringLiteral("M99"))->slotLetters, (std::array<QString, 5>{"i", "", "k", "", ""}));
    EXPECT_EQ(t.findCode(QStringLiteral("G89"))->description,
              QStringLiteral("Ausreib.- & Bohrzyklus mit Verweilzeit"));

    t.GetCommands(MachineType::Mark2, false);
    EXPECT_EQ(t.findCode(QStringLiteral("G33"))->slotLetters[3], QStringLiteral("k"));
    EXPECT_EQ(t.findCode(QStringLiteral("G33"))->description, QStringLiteral("Gewindeschneiden"));
    EXPECT_EQ(t.findCode(QStringLiteral("M06")), nullptr);
}

TEST(RangeTables, WoodworkerCaseSensitivityAndFallback)
{
    CodeTables t;
    t.GetCommands(MachineType::F1, false);
    EXPECT_EQ(t.findRange(QStringLiteral("S"))->metricMax, 2000);
    EXPECT_EQ(t.findRange(QStringLiteral("S"))->imperialMax, 2000);
    EXPECT_EQ(t.findRange(QStringLiteral("t"))->imperialMin, 1);
    EXPECT_EQ(t.findRange(QStringLiteral("Y"))->imperialMin, -3999);

    t.GetCommands(MachineType::F1, true);
    EXPECT_EQ(t.findRange(QStringLiteral("S"))->metricMax, 8000);
    EXPECT_EQ(t.findRange(QStringLiteral("S"))->imperialMax, 8000);
    // Only the spindle speed widens.
    EXPECT_EQ(t.findRange(QStringLiteral("T"))->metricMax, 499);

    t.GetCommands(MachineType::Mark4, true);
    EXPECT_EQ(t.findRange(QStringLiteral("K"))->metricMin, 2);
    EXPECT_EQ(t.findRange(QStringLiteral("k"))->metricMax, 32760);
    EXPECT_EQ(t.findRange(QStringLiteral("h"))->metricMin, 10);
    // M98 carries "y", which the Mark 4 table lacks: the last entry ("k") applies.
    EXPECT_EQ(t.findRange(QStringLiteral("y")), nullptr);
    EXPECT_EQ(t.rangeForLetter(QStringLiteral("y"))->letter, QStringLiteral("k"));

    t.GetCommands(MachineType::Mark2, false);
    const RangeEntry* k = t.rangeForLetter(QStringLiteral("k"));
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->letter, QStringLiteral("K"));
    EXPECT_EQ(k->imperialMax, 199);
    EXPECT_EQ(t.findRange(QStringLiteral("f"))->metricMin, 1);

    t.GetCommands(MachineType::None, false);
    EXPECT_EQ(t.rangeForLetter(QStringLiteral("X")), nullptr);
}
