#include "shell/Logger.h"
#include "shell/TraceScope.h"
#include "shell/WildcardMatch.h"

#include "CliRun.h"
#include "QtPrinters.h"

#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace quillon;
using namespace quillon::testing;

namespace {

// A log with a clock the test moves by hand and switches set by the test.
class LoggerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QDateTime time{QDate(2026, 12, 6), QTime(9, 5, 3, 250)};
    QHash<QString, QString> switches;

    QString logPath() const { return dir.filePath("Quillon CNC Editor.log"); }
    Logger makeLogger(const QString& path = {})
    {
        return Logger(
            path.isEmpty() ? logPath() : path,
            [this](const QString& name) { return switches.contains(name) ? std::optional(switches.value(name)) : std::nullopt; },
            [this] { return time; });
    }
    void advance(int ms) { time = time.addMSecs(ms); }
    qsizetype logLines() const { return bytesOf(logPath()).count('\n'); }
};

const QString kMod = QStringLiteral("modQuillon");

}  // namespace

// Started just before midnight: the elapsed time keeps rising past it.
TEST_F(LoggerTest, LineLayout)
{
    switches = {{"LogTrace", "True"}, {"LogInfo", "True"}};
    time = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59, 500));
    Logger logger = makeLogger();
    logger.LogEntry(kMod, "Main", LogLevel::Enter);
    advance(1234);
    logger.LogEntry("modEdit", "StoreRow", LogLevel::Enter);
    logger.LogEntry("modEdit", "StoreRow", LogLevel::Info, "row 3 stored");
    advance(766);
    logger.LogEntry("modEdit", "StoreRow", LogLevel::Leave);
    advance(63000);
    logger.LogEntry(kMod, "Main", LogLevel::Leave);
    advance(1);
    // A leave without its enter never takes the depth below zero.
    logger.LogEntry(kMod, "Orphan", LogLevel::Leave);
    logger.LogEntry("modAVeryLongModuleNameThatPassesTheColumn", "Main", LogLevel::Error, "Fehler");
    EXPECT_EQ(bytesOf(logPath()),
              QByteArray("2026-12-06 23:59:59 00000000 modQuillon      > Main                                                  \r\n"
                         "2026-12-07 00:00:00 00001234 modEdit          > StoreRow                                             \r\n"
                         "2026-12-07 00:00:00 00001234 modEdit             StoreRow                                            row 3 stored\r\n"
                         "2026-12-07 00:00:01 00002000 modEdit          < StoreRow                                             \r\n"
                         "2026-12-07 00:01:04 00065000 modQuillon      < Main                                                  \r\n"
                         "2026-12-07 00:01:04 00065001 modQuillon      < Orphan                                                \r\n"
                         "2026-12-07 00:01:04 00065001 modAVeryLongModuleNameThatPassesTheColumn* Main                         Fehler\r\n"));
    EXPECT_EQ(logger.depth(), 0);
}

// A procedure left by an exception still writes its leave line.
TEST_F(LoggerTest, LeaveMatchesItsEnter)
{
    switches = {{"LogTrace", "True"}};
    Logger logger = makeLogger();
    {
        TraceScope outer(logger, "modFile", "ReadFile");
        try {
            TraceScope failing(&logger, "modEdit", "UpdateLine");
            throw std::runtime_error("trap");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(logger.depth(), 1);
    }
    TraceScope silent(nullptr, "modEdit", "NoLogger");
    EXPECT_EQ(logger.depth(), 0);
    EXPECT_EQ(logLines(), 4);
}

TEST_F(LoggerTest, ExcludedProceduresWriteNothingAndKeepTheDepth)
{
    switches = {{"LogTrace", "True"}, {"LogExclude", " store* , cmd?_Click"}};
    Logger logger = makeLogger();
    logger.LogInit();
    EXPECT_EQ(logger.exclusions(), QStringList({"STORE*", "CMD?_CLICK", "*_MOUSEMOVE", "*_TIMER", "*UUDECODECHAR", "*UUENCODECHAR"}));
    for (const char* name : {"picList_MouseMove", "StoreRow", "cmdA_Click"}) {
        logger.LogEntry(kMod, name, LogLevel::Enter);
        EXPECT_EQ(logger.depth(), 0) << name;
        logger.LogEntry(kMod, name, LogLevel::Leave);
    }
    logger.LogEntry(kMod, "cmdOk_Click", LogLevel::Enter);
    // Errors are never excluded by name.
    EXPECT_TRUE(logger.blnLogWanted("StoreRow", LogLevel::Error));
    EXPECT_EQ(logLines(), 1);
}

TEST_F(LoggerTest, OnlyExactTrueSwitchesALevelOn)
{
    switches = {{"LogTrace", "true"}, {"LogErrors", "False"}};
    makeLogger().LogEntry(kMod, "Main", LogLevel::Enter);
    makeLogger().LogEntry(kMod, "Main", LogLevel::Error, "x");
    EXPECT_FALSE(QFile::exists(logPath()));
    switches.clear();  // LogErrors is on when missing
    makeLogger().LogEntry(kMod, "Main", LogLevel::Error, "x");
    EXPECT_EQ(logLines(), 1);
}

TEST(WildcardMatch, PatternLanguage)
{
    const struct { const char* text; const char* pattern; bool match; } cases[] = {
        {"TMRSETFOCUS_TIMERX", "*_TIMER", false}, {"RESTOREROW", "STORE*", false}, {"TXTA", "TXT#", false},
        {"MNUTPORT", "MNU[!FH]*", true}, {"AXB", "A[*]B", false}, {"ABCABD", "*ABD", true}, {"Q", "[A-CR-T]", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(blnLikeMatch(c.text, c.pattern), c.match) << c.text << " like " << c.pattern;
}
