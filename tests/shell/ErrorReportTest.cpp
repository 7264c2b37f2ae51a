#include "shell/ErrorReport.h"
#include "shell/Logger.h"
#include "shell/MessageSink.h"
#include "shell/RecoveryFile.h"
#include "files/ProgramFile.h"
#include "model/ProgramLine.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace quillon;

namespace {

struct ShownBox {
    QString message;
    int style = 0;
    QString title;
};

// Records every box and the order of the report's steps.
class RecordingSink : public MessageSink {
public:
    explicit RecordingSink(QStringList& steps) : steps_(steps) {}
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        steps_.append(QStringLiteral("box"));
        boxes.push_back({message, style, title});
        return MsgResult::Ok;
    }
    std::vector<ShownBox> boxes;

private:
    QStringList& steps_;
};

class ErrorReportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList steps;
    RecordingSink sink{steps};
    QString logPath() const { return dir.filePath(QStringLiteral("Quillon CNC Editor.log")); }
    Logger logger{logPath(), [](const QString&) { return std::optional<QString>(); },
                  [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 3, 9)); }};
    ErrorReport report{logger};

    void SetUp() override
    {
        report.setMessageSink(&sink);
        report.setTerminate([this] { steps.append(QStringLiteral("terminate")); });
    }
};

}  // namespace

TEST_F(ErrorReportTest, KeepsTheLogShowsTheReportAndEnds)
{
    const QByteArray logBytes = "2026-12-06 14:03:08 00000000 modQuillon      > Main\r\n";
    writeBytes(logPath(), logBytes);
    report.setRecoveryHook([this] {
        steps.append(QStringLiteral("recover"));
        return QStringLiteral("Recovery:\t/home/u/Quillon-recovery-20261206140309.cnc");
    });

    report.LogError(QStringLiteral("modFile"), QStringLiteral("ReadFile"), 53, QStringLiteral("File not found"));

    EXPECT_EQ(readBytes(dir.filePath(QStringLiteral("Quillon CNC Editor20261206140309.log"))), logBytes);
    EXPECT_EQ(readBytes(logPath()), logBytes);
    EXPECT_EQ(steps, QStringList({"recover", "box", "terminate"}));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message,
              QStringLiteral("An error has occurred in Quillon CNC Editor\r\n\r\n"
                             "Error:\t53 : File not found\r\n"
                             "Location:\tmodFile / ReadFile\r\n"
                             "Recovery:\t/home/u/Quillon-recovery-20261206140309.cnc\r\n"));
    EXPECT_EQ(sink.boxes[0].style, 16);
    EXPECT_EQ(sink.boxes[0].title, "Quillon CNC Editor 1.0.21");
}

TEST_F(ErrorReportTest, NumberZeroAndMissingLog)
{
    report.LogError(QStringLiteral("modQuillon"), QStringLiteral("Main"), 0, QStringLiteral("Überlauf"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("An error has occurred in Quillon CNC Editor\r\n\r\n"
                                                    "Error:\tÜberlauf\r\n"
                                                    "Location:\tmodQuillon / Main\r\n"));
    EXPECT_EQ(steps, QStringList({"box", "terminate"}));
}

TEST_F(ErrorReportTest, FailingRecoveryStillReportsOnceAndEnds)
{
    report.setRecoveryHook([this]() -> QString {
        report.LogError(QStringLiteral("modFile"), QStringLiteral("SaveRecovery"), 61, QStringLiteral("Disk full"));
        throw std::runtime_error("disk full");
    });
    report.LogError(QStringLiteral("modEdit"), QStringLiteral("UpdateLine"), 6, QStringLiteral("Overflow"));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(QStringLiteral("Location:\tmodEdit / UpdateLine\r\n")));
    EXPECT_EQ(steps, QStringList({"box", "terminate"}));

    // The next report after the first is over is made in full again.
    report.setRecoveryHook({});
    report.LogError(QStringLiteral("modEdit"), QStringLiteral("UpdateLine"), 6, QStringLiteral("Overflow"));
    EXPECT_EQ(sink.boxes.size(), 2u);
}

TEST_F(ErrorReportTest, CopyReplacesAnEarlierCopyOfTheSameSecond)
{
    writeBytes(logPath(), "new\r\n");
    const QString copy = logCopyName(logPath(), QDateTime(QDate(2026, 12, 6), QTime(14, 3, 9)));
    EXPECT_EQ(copy, dir.filePath(QStringLiteral("Quillon CNC Editor20261206140309.log")));
    writeBytes(copy, "old\r\n");
    report.LogError(QStringLiteral("m"), QStringLiteral("p"), 1, QStringLiteral("d"));
    EXPECT_EQ(readBytes(copy), QByteArray("new\r\n"));
}

TEST(ErrorReportText, StartupFailureAndTitles)
{
    EXPECT_EQ(startupFailureMessage(429, QStringLiteral("ActiveX component can't create object")),
              QStringLiteral("Cannot start Quillon CNC Editor\r\n\r\n"
                             "Error:\t429 : ActiveX component can't create object\r\n"
                             "Location:\tmodQuillon / Main\r\n"));
    EXPECT_EQ(messageBoxTitle(QString()), "Quillon CNC Editor");
    EXPECT_EQ(messageBoxTitle(QStringLiteral("Speichere CNC Datei")), "Speichere CNC Datei");
}

TEST_F(ErrorReportTest, RecoveryHookSavesTheProgramAndNamesIt)
{
    Program program;
    program.description = QStringLiteral("Welle ø 20");  // "ø" is in Windows-1252
    program.rows.push_back(parseProgramLine(QStringLiteral("    00 01  1250-   500 100  50 Schlichten"), false,
                                            MachineType::Mark4).row);
    const QString folder = dir.filePath(QStringLiteral("config"));
    report.setRecoveryHook([&] { return saveRecoveryFile(folder, logger.now(), program, MachineType::Mark4); });
    report.LogError(QStringLiteral("modEdit"), QStringLiteral("UpdateLine"), 6, QStringLiteral("Overflow"));

    const QString saved = dir.filePath(QStringLiteral("config/Quillon-recovery-20261206140309.cnc"));
    EXPECT_EQ(readBytes(saved), *programFileBytes(program, MachineType::Mark4));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_TRUE(sink.boxes[0].message.endsWith(
        QStringLiteral("Location:\tmodEdit / UpdateLine\r\nUnsaved program written to:\t") + saved
        + QStringLiteral("\r\n")))
        << sink.boxes[0].message.toStdString();

    // A program that saving would refuse is still kept, nearly whole.
    program.description = QStringLiteral("Welle \u03c9");
    const QDateTime later(QDate(2026, 12, 6), QTime(15, 0));
    EXPECT_TRUE(saveRecoveryFile(folder, later, program, MachineType::Mark4).startsWith(QStringLiteral("Unsaved program written")));
    EXPECT_TRUE(readBytes(recoveryFilePath(folder, later)).startsWith("Welle ?\r\n%"));

    // A folder that cannot be made says so in the line.
    writeBytes(dir.filePath(QStringLiteral("blocked")), "x");
    EXPECT_TRUE(saveRecoveryFile(dir.filePath(QStringLiteral("blocked")), later, program, MachineType::Mark4)
                    .startsWith(QStringLiteral("Unsaved program could not be written to:\t")));
}
