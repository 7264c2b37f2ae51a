#include "model/CodeTables.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace quillon;

TEST(CodeTables, DefinitionsParseIntoSlotsAndDescriptions)
{
    // Slot letters joined with "|" ("" = not checked), and the description.
    struct Case { MachineType machine; const char* code; const char* letters; const char* description; } cases[] = {
        {MachineType::F1, "M06", "d|S|O|T|", "Werkzeug Wechsel"},
        {MachineType::F1, "G46", "", "Subtrahiere Werkzeugradius"},  // its trailing blank trimmed
        {MachineType::Mark4, "G86", "X||Z|F|h", ""},
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
}
