#include "shell/Logger.h"
#include "shell/TraceScope.h"
#include "shell/WildcardMatch.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace quillon;

namespace {

// A log with a clock the test moves by hand and switches set by the test.
class LoggerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QDateTime time{QDate(2026, 12, 6), QTime(9, 5, 3, 250)};
    QHash<QString, QString> switches;

    QString logPath() const { return dir.filePath(QStringLiteral("Quillon CNC Editor.log")); }

    Logger makeLogger()
    {
        return Logger(
            logPath(),
            [this](const QString& name) -> std::optional<QString> {
                if (!switches.contains(name))
                    return std::nullopt;
                return switches.value(name);
            },
            [this] { return time; });
    }

    void advance(int ms) { time = time.addMSecs(ms); }
    QByteArray log() const { return readBytes(logPath()); }
    QList<QByteArray> logLines() const
    {
        QList<QByteArray> lines = log().split('\n');
        lines.removeLast();
        return lines;
    }
};

const QString kMod = QStringLiteral("modQuillon");

}  // namespace

TEST_F(LoggerTest, LineLayout)
{
    switches = {{"LogTrace", "True"}, {"LogInfo", "True"}};
    Logger logger = makeLogger();
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Enter);
    advance(1234);
    logger.LogEntry(QStringLiteral("modEdit"), QStringLiteral("StoreRow"), LogLevel::Enter);
    logger.LogEntry(QStringLiteral("modEdit"), QStringLiteral("StoreRow"), LogLevel::Info, QStringLiteral("row 3 stored"));
    advance(766);
    logger.LogEntry(QStringLiteral("modEdit"), QStringLiteral("StoreRow"), LogLevel::Leave);
    advance(63000);
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Leave);
    advance(1);
    // A leave without its enter never takes the depth below zero.
    logger.LogEntry(kMod, QStringLiteral("Orphan"), LogLevel::Leave);
    logger.LogEntry(QStringLiteral("modAVeryLongModuleNameThatPassesTheColumn"), QStringLiteral("Main"),
                    LogLevel::Error, QStringLiteral("Fehler"));

    EXPECT_EQ(log(),
              QByteArray(
                  "2026-12-06 09:05:03 00000000 modQuillon      > Main                                                  \r\n"
                  "2026-12-06 09:05:04 00001234 modEdit          > StoreRow                                             \r\n"
                  "2026-12-06 09:05:04 00001234 modEdit             StoreRow                                            row 3 stored\r\n"
                  "2026-12-06 09:05:05 00002000 modEdit          < StoreRow                                             \r\n"
                  "2026-12-06 09:06:08 00065000 modQuillon      < Main                                                  \r\n"
                  "2026-12-06 09:06:08 00065001 modQuillon      < Orphan                                                \r\n"
                  "2026-12-06 09:06:08 00065001 modAVeryLongModuleNameThatPassesTheColumn* Main                         Fehler\r\n"));
    EXPECT_EQ(logger.depth(), 0);
}

TEST_F(LoggerTest, ElapsedTimeKeepsRisingPastMidnight)
{
    switches = {{"LogTrace", "True"}};
    time = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59, 500));
    Logger logger = makeLogger();
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Enter);
    advance(1200);
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Leave);
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("2026-12-07 00:00:00 00001200 modQuillon")) << lines[1].toStdString();
}

TEST_F(LoggerTest, NestingIndentsAndLeaveMatchesItsEnter)
{
    switches = {{"LogTrace", "True"}};
    Logger logger = makeLogger();
    {
        TraceScope outer(logger, "modFile", "ReadFile");
        {
            TraceScope inner(&logger, "modEdit", "StoreRow");
            EXPECT_EQ(logger.depth(), 2);
        }
        try {
            TraceScope failing(logger, "modEdit", "UpdateLine");
            throw std::runtime_error("trap");
        } catch (const std::runtime_error&) {
        }
    }
    TraceScope silent(nullptr, "modEdit", "NoLogger");

    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 6);
    const auto procedureAt = [&](int i) { return lines[i].mid(45, 14); };
    EXPECT_EQ(procedureAt(0), "> ReadFile    ");
    EXPECT_EQ(procedureAt(1), " > StoreRow   ");
    EXPECT_EQ(procedureAt(2), " < StoreRow   ");
    EXPECT_EQ(procedureAt(3), " > UpdateLine ");
    EXPECT_EQ(procedureAt(4), " < UpdateLine ");
    EXPECT_EQ(procedureAt(5), "< ReadFile    ");
    EXPECT_EQ(logger.depth(), 0);
}

TEST_F(LoggerTest, ExcludedProceduresWriteNothingAndKeepTheDepth)
{
    switches = {{"LogTrace", "True"}, {"LogExclude", " store* , cmd?_Click"}};
    Logger logger = makeLogger();
    logger.LogInit();
    EXPECT_EQ(logger.exclusions(), QStringList({"STORE*", "CMD?_CLICK", "*_MOUSEMOVE", "*_TIMER", "*UUDECODECHAR",
                                                "*UUENCODECHAR"}));

    for (const char* name : {"picList_MouseMove", "tmrSetFocus_Timer", "StoreRow", "cmdA_Click", "UUDecodeChar"}) {
        logger.LogEntry(kMod, QString::fromLatin1(name), LogLevel::Enter);
        EXPECT_EQ(logger.depth(), 0) << name;
        logger.LogEntry(kMod, QString::fromLatin1(name), LogLevel::Leave);
    }
    EXPECT_FALSE(QFile::exists(logPath()));

    logger.LogEntry(kMod, QStringLiteral("cmdOk_Click"), LogLevel::Enter);
    EXPECT_EQ(logger.depth(), 1);
    // Errors and information are never excluded by name.
    EXPECT_TRUE(logger.blnLogWanted(QStringLiteral("StoreRow"), LogLevel::Error));
    EXPECT_FALSE(logger.blnLogWanted(QStringLiteral("StoreRow"), LogLevel::Info));
    EXPECT_FALSE(logger.blnLogWanted(QStringLiteral("Main"), static_cast<LogLevel>(5)));
    EXPECT_EQ(logLines().size(), 1);
}

TEST_F(LoggerTest, OnlyExactTrueSwitchesALevelOn)
{
    switches = {{"LogTrace", "true"}, {"LogInfo", "TRUE"}};
    Logger logger = makeLogger();
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Enter);
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Info, QStringLiteral("x"));
    EXPECT_FALSE(QFile::exists(logPath()));
    // LogErrors is on when missing.
    EXPECT_TRUE(logger.isEnabled(LogLevel::Error));

    switches = {{"LogErrors", "False"}};
    Logger quiet = makeLogger();
    quiet.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Error, QStringLiteral("x"));
    EXPECT_FALSE(QFile::exists(logPath()));

    switches.clear();
    Logger defaults = makeLogger();
    defaults.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Enter);
    EXPECT_FALSE(QFile::exists(logPath()));
    defaults.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Error, QStringLiteral("x"));
    EXPECT_EQ(logLines().size(), 1);
}

TEST_F(LoggerTest, UnwritableLogLosesTheEntryQuietly)
{
    switches = {{"LogTrace", "True"}};
    Logger logger(dir.path(), [this](const QString& n) -> std::optional<QString> { return switches.value(n); },
                  [this] { return time; });
    logger.LogEntry(kMod, QStringLiteral("Main"), LogLevel::Enter);
    EXPECT_EQ(logger.depth(), 1);
}

TEST(WildcardMatch, PatternLanguage)
{
    struct Case { const char* text; const char* pattern; bool match; };
    const Case cases[] = {
        {"PICLIST_MOUSEMOVE", "*_MOUSEMOVE", true}, {"MOUSEMOVE", "*_MOUSEMOVE", false},
        {"TMRSETFOCUS_TIMER", "*_TIMER", true},     {"TMRSETFOCUS_TIMERX", "*_TIMER", false},
        {"STOREROW", "STORE*", true},               {"STORE", "STORE*", true},
        {"RESTOREROW", "STORE*", false},            {"", "*", true},
        {"", "", true},                             {"A", "", false},
        {"CMD1", "CMD?", true},                     {"CMD", "CMD?", false},
        {"CMD12", "CMD?", false},                   {"TXT3", "TXT#", true},
        {"TXTA", "TXT#", false},                    {"MNUFMRU_CLICK", "MNU[FH]*", true},
        {"MNUTPORT", "MNU[FH]*", false},            {"MNUTPORT", "MNU[!FH]*", true},
        {"LEVEL5", "LEVEL[1-4]", false},            {"LEVEL3", "LEVEL[1-4]", true},
        {"A-B", "A[-]B", true},                     {"A*B", "A[*]B", true},
        {"AXB", "A[*]B", false},                    {"A?B", "A[?]B", true},
        {"AB", "A[]B", true},                       {"A[B", "A[B", true},
        {"X_Y_Z", "*_*_*", true},                   {"AAAB", "*A*AB", true},
        {"ABCABD", "*ABD", true},                   {"ABCABD", "A*C*E", false},
        {"S", "[A-CR-T]", true},                    {"Q", "[A-CR-T]", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blnLikeMatch(QString::fromLatin1(c.text), QString::fromLatin1(c.pattern)), c.match)
            << c.text << " like " << c.pattern;
}
