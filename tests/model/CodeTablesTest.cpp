#include "model/CodeTables.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace quillon;

TEST(CodeTables, ItemsSplitAtCommasAndAnEmptyItemEndsTheText)
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

TEST(CodeTables, DefinitionsParseIntoSlotsAndDescriptions)
{
    struct Case { MachineType machine; const char* code; const char* letters; const char* description; };
    const Case cases[] = {
        {MachineType::F1, "G04", "D||||", "Verweilzeit"},
        {MachineType::F1, "M06", "d|S|O|T|", "Werkzeug Wechsel"},
        {MachineType::F1, "G46", "", "Subtrahiere Werkzeugradius"},  // its trailing blank trimmed
        {MachineType::F1, "G40", "", "Werkzeugradiuskorrektur löschen"},
        {MachineType::Mark4, "M06", "", "Werkzeuglängenverrechnung"},
        {MachineType::Mark4, "G86", "X||Z|F|h", ""},
        {MachineType::Mark4, "M99", "i||k||", ""},
        {MachineType::Mark4, "G89", "", "Ausreib.- & Bohrzyklus mit Verweilzeit"},
        {MachineType::Mark2, "G33", "||Z|k|", "Gewindeschneiden"},
    };
    CodeTables t;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        t.GetCommands(c.machine, false);
        const CodeEntry* e = t.findCode(QString::fromLatin1(c.code));
        ASSERT_NE(e, nullptr);
        if (*c.letters) {
            EXPECT_EQ(QStringList(e->slotLetters.begin(), e->slotLetters.end()).join(QLatin1Char('|')), c.letters);
        }
        if (*c.description) {
            EXPECT_EQ(e->description, QString::fromUtf8(c.description));
        }
    }
    EXPECT_EQ(t.findCode(QStringLiteral("M06")), nullptr);  // the Mark 2 has no M codes
    // Loading again replaces the table instead of adding to it.
    t.GetCommands(MachineType::F1, false);
    t.GetCommands(MachineType::F1, false);
    EXPECT_EQ(t.codes().size(), 32u);
    t.GetCommands(MachineType::None, false);
    EXPECT_TRUE(t.codes().empty() && t.ranges().empty());
    EXPECT_EQ(t.rangeForLetter(QStringLiteral("X")), nullptr);
}
