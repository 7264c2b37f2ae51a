#include "shell/AppIdentity.h"
#include "shell/ErrorReport.h"
#include "shell/Logger.h"
#include "shell/RecoveryFile.h"
#include "files/ProgramFile.h"
#include "model/ProgramLine.h"

#include "CliRun.h"
#include "QtPrinters.h"
#include "RecordingSink.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace quillon;
using namespace quillon::testing;

namespace {

// A report whose box and end are recorded in the order of its steps.
class ErrorReportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList steps;
    RecordingSink sink;
    QString logPath() const { return dir.filePath("Quillon CNC Editor.log"); }
    Logger logger{logPath(), [](const QString&) { return std::optional<QString>(); },
                  [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 3, 9)); }};
    ErrorReport report{logger};

    void SetUp() override
    {
        sink.onShow = [this] { steps << "box"; };
        report.setMessageSink(&sink);
        report.setTerminate([this] { steps << "terminate"; });
    }
};

}  // namespace

TEST_F(ErrorReportTest, KeepsTheLogShowsTheReportAndEnds)
{
    // No log yet and error number 0: no copy, the description alone.
    report.LogError("modQuillon", "Main", 0, "Überlauf");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.contains("\r\nError:\tÜberlauf\r\n"));
    EXPECT_EQ(steps, QStringList({"box", "terminate"}));

    // The log is copied under the second's name, replacing an earlier copy.
    const QByteArray logBytes = "2026-12-06 14:03:08 00000000 modQuillon      > Main\r\n";
    writeBytes(logPath(), logBytes);
    const QString copy = writeBytes(dir.filePath("Quillon CNC Editor20261206140309.log"), "old\r\n");
    steps.clear();
    report.setRecoveryHook([this] {
        steps << "recover";
        return QStringLiteral("Recovery:\t/home/u/Quillon-recovery-20261206140309.cnc");
    });
    report.LogError("modFile", "ReadFile", 53, "File not found");
    EXPECT_EQ(bytesOf(copy), logBytes);
    EXPECT_EQ(bytesOf(logPath()), logBytes);
    EXPECT_EQ(steps, QStringList({"recover", "box", "terminate"}));
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[1].message, "An error has occurred in Quillon CNC Editor\r\n\r\nError:\t53 : File not found\r\n"
                                     "Location:\tmodFile / ReadFile\r\nRecovery:\t/home/u/Quillon-recovery-20261206140309.cnc\r\n");
}

TEST_F(ErrorReportTest, FailingRecoveryStillReportsOnceAndEnds)
{
    report.setRecoveryHook([this]() -> QString {
        report.LogError("modFile", "SaveRecovery", 61, "Disk full");
        throw std::runtime_error("disk full");
    });
    report.LogError("modEdit", "UpdateLine", 6, "Overflow");
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(steps, QStringList({"box", "terminate"}));
    // The next report after the first is over is made in full again.
    report.setRecoveryHook({});
    report.LogError("modEdit", "UpdateLine", 6, "Overflow");
    EXPECT_EQ(sink.boxes.size(), 2u);
}

TEST_F(ErrorReportTest, RecoveryHookSavesTheProgramAndNamesIt)
{
    Program program;
    program.description = QStringLiteral("Welle ø 20");  // "ø" is in Windows-1252
    program.rows.push_back(parseProgramLine("    00 01  1250-   500 100  50 Schlichten", false, MachineType::Mark4).row);
    const QString folder = dir.filePath("config");
    report.setRecoveryHook([&] { return saveRecoveryFile(folder, logger.now(), program, MachineType::Mark4); });
    report.LogError("modEdit", "UpdateLine", 6, "Overflow");
    const QString saved = dir.filePath("config/Quillon-recovery-20261206140309.cnc");
    EXPECT_EQ(bytesOf(saved), *programFileBytes(program, MachineType::Mark4));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith("Location:\tmodEdit / UpdateLine\r\nUnsaved program written to:\t" + saved + "\r\n"))
        << sink.boxes[0].message.toStdString();
    // A program that saving would refuse is still kept, nearly whole.
    program.description = QStringLiteral("Welle \u03c9");
    const QDateTime later(QDate(2026, 12, 6), QTime(15, 0));
    EXPECT_TRUE(saveRecoveryFile(folder, later, program, MachineType::Mark4).startsWith("Unsaved program written"));
    EXPECT_TRUE(bytesOf(recoveryFilePath(folder, later)).startsWith("Welle ?\r\n%"));
    // A folder that cannot be made says so in the line.
    writeBytes(dir.filePath("blocked"), "x");
    EXPECT_TRUE(saveRecoveryFile(dir.filePath("blocked"), later, program, MachineType::Mark4).startsWith("Unsaved program could not be written to:\t"));
}

TEST(ErrorReportText, StartupFailureAndTitles)
{
    EXPECT_EQ(startupFailureMessage(429, "ActiveX component can't create object"),
              "Cannot start Quillon CNC Editor\r\n\r\nError:\t429 : ActiveX component can't create object\r\nLocation:\tmodQuillon / Main\r\n");
    EXPECT_EQ(previousInstanceMessage(), "Quillon CNC Editor cannot start as a previous instance is still running");
}
