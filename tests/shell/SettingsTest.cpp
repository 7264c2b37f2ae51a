#include "shell/ApplicationState.h"
#include "shell/FileExists.h"
#include "shell/MachineSelection.h"
#include "shell/Settings.h"
#include "shell/SettingsPath.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;

namespace {

std::optional<QString> noEnvironment(const QString&) { return std::nullopt; }
QDateTime fixedClock() { return QDateTime(QDate(2026, 12, 6), QTime(12, 0)); }

ApplicationState::Paths pathsIn(const QTemporaryDir& dir)
{
    return {dir.path(), dir.filePath(QStringLiteral("Quillon.ini")), dir.filePath(QStringLiteral("Quillon CNC Editor.log"))};
}

}  // namespace

TEST(Settings, DefaultsOfEveryKey)
{
    QTemporaryDir dir;
    const Settings settings(dir.filePath(QStringLiteral("Quillon.ini")), QStringLiteral("/opt/quillon"));
    EXPECT_EQ(settings.type(), "0");
    EXPECT_FALSE(settings.woodworker());
    EXPECT_EQ(settings.win(), "none");
    EXPECT_EQ(settings.comPort(), "1");
    EXPECT_EQ(settings.units(), "metric");
    EXPECT_EQ(settings.fileFolder(), "/opt/quillon/CNCfiles/");
    EXPECT_TRUE(settings.warning());
    EXPECT_FALSE(settings.network());
    EXPECT_EQ(settings.drive(), "N:");
    EXPECT_EQ(settings.exportFolder(), "c:\\spindra\\turndata\\");
    EXPECT_EQ(settings.mruFile(0), "none");
    EXPECT_EQ(Settings::mruKey(3), "MRUFile03");
    EXPECT_EQ(Settings::mruKey(12), "MRUFile12");
    EXPECT_FALSE(QFile::exists(settings.filePath()));  // reading never creates the file
}

TEST(Settings, PreviewPaneKeysReadBackAndForgiveHandEdits)
{
    QTemporaryDir dir;
    const Settings settings(dir.filePath(QStringLiteral("Quillon.ini")), QStringLiteral("/opt/quillon"));
    EXPECT_EQ(settings.previewPane(), PreviewPaneSetting{});
    EXPECT_FALSE(settings.previewPane().visible);
    EXPECT_EQ(settings.previewPane().side, PaneSide::Right);

    PreviewPaneSetting pane;
    pane.visible = true;
    pane.floating = true;
    pane.side = PaneSide::Bottom;
    pane.placement = WindowPlacement{1500, 3000, 6000, 4500};
    pane.sideView = true;
    ASSERT_TRUE(settings.setPreviewPane(pane));
    EXPECT_EQ(settings.previewPane(), pane);
    EXPECT_EQ(settings.value(QStringLiteral("Preview"), QString()), "Yes");
    EXPECT_EQ(settings.value(QStringLiteral("PreviewFloat"), QString()), "Yes");
    EXPECT_EQ(settings.value(QStringLiteral("PreviewSide"), QString()), "bottom");
    EXPECT_EQ(settings.value(QStringLiteral("PreviewWin"), QString()), "1500,3000,6000,4500");
    EXPECT_EQ(settings.value(QStringLiteral("PreviewView"), QString()), "side");
    // The other keys stay as they were.
    EXPECT_EQ(settings.win(), "none");

    // Hand edits: flags by the flag rule, unknown words give the defaults.
    settings.setValue(QStringLiteral("Preview"), QStringLiteral(" on "));
    settings.setValue(QStringLiteral("PreviewSide"), QStringLiteral("Left"));
    settings.setValue(QStringLiteral("PreviewWin"), QStringLiteral("1,2,drei,4"));
    settings.setValue(QStringLiteral("PreviewView"), QStringLiteral("schräg"));
    const PreviewPaneSetting edited = settings.previewPane();
    EXPECT_TRUE(edited.visible);
    EXPECT_EQ(edited.side, PaneSide::Left);
    EXPECT_FALSE(edited.placement.has_value());
    EXPECT_FALSE(edited.sideView);
    settings.setValue(QStringLiteral("PreviewSide"), QStringLiteral("mitte"));
    EXPECT_EQ(settings.previewPane().side, PaneSide::Right);
}

TEST(MachineSelection, TypeSetting)
{
    struct Case { const char* value; MachineType machine; };
    const Case cases[] = {
        {"1", MachineType::F1},    {"2", MachineType::Mark2}, {"4", MachineType::Mark4},
        {" 4 ", MachineType::Mark4}, {"4abc", MachineType::Mark4}, {"2.0", MachineType::Mark2},
        {"0", MachineType::None},  {"", MachineType::None},   {"abc", MachineType::None},
        {"3", MachineType::None},  {"5", MachineType::None},  {"-1", MachineType::None},
        {"-4", MachineType::None}, {"40", MachineType::None}, {"99999999999999999999", MachineType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(machineFromTypeSetting(QString::fromLatin1(c.value)), c.machine) << c.value;
}

TEST(MachineSelection, CommandLine)
{
    struct Case { QStringList args; MachineType machine; const char* settings; };
    const Case cases[] = {
        {{}, MachineType::None, ""},
        {{"4"}, MachineType::Mark4, ""},
        {{"2"}, MachineType::Mark2, ""},
        {{"1"}, MachineType::F1, ""},
        {{"3"}, MachineType::None, ""},
        {{"mk4"}, MachineType::Mark4, ""},          // only the last character counts
        {{"/x/part.cnc", "14"}, MachineType::Mark4, ""},
        {{"4", "x"}, MachineType::None, ""},
        {{"--settings", "/etc/my1"}, MachineType::None, "/etc/my1"},
        {{"--settings", "a.ini", "2"}, MachineType::Mark2, "a.ini"},
        {{"4", "--settings", "cfg2"}, MachineType::Mark4, "cfg2"},
        {{"--settings=/tmp/q4.ini", "1"}, MachineType::F1, "/tmp/q4.ini"},
        {{"--settings"}, MachineType::None, ""},
        {{"4", "part.cnc"}, MachineType::Mark4, ""},
        {{"Teil.CNC", "2"}, MachineType::Mark2, ""},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.machine, c.machine) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.settingsPath, QString::fromLatin1(c.settings)) << c.args.join(' ').toStdString();
        EXPECT_EQ(machineFromCommandLine(c.args), c.machine);
    }
    EXPECT_EQ(parseCommandLine({"4", "/x/part.cnc"}).programFile, QStringLiteral("/x/part.cnc"));
    EXPECT_EQ(parseCommandLine({"Teil.CNC", "1"}).programFile, QStringLiteral("Teil.CNC"));
    EXPECT_TRUE(parseCommandLine({"4"}).programFile.isEmpty());
}

TEST(MachineSelection, CommandLineWinsForOneRunAndLeavesType)
{
    QTemporaryDir dir;
    const QByteArray ini = "[Settings]\r\nType=1\r\nWoodworker=Yes\r\n";
    writeBytes(dir.filePath(QStringLiteral("Quillon.ini")), ini);
    ApplicationState state(pathsIn(dir), noEnvironment, fixedClock);

    const MachineType machine = state.machineAtStart({QStringLiteral("4")});
    EXPECT_EQ(machine, MachineType::Mark4);
    state.setMachine(machine);
    EXPECT_EQ(state.profile().lineLimit, 210);
    EXPECT_FALSE(state.woodworker());  // a lathe is never a Woodworker
    EXPECT_EQ(readBytes(state.settings().filePath()), ini);

    EXPECT_EQ(state.machineAtStart({}), MachineType::F1);
    state.setMachine(MachineType::F1);
    EXPECT_TRUE(state.woodworker());
}

TEST(MachineSelection, DialogChoicesAndPreselection)
{
    EXPECT_FALSE(machineFromDialogResult(0));
    EXPECT_FALSE(machineFromDialogResult(-1));
    EXPECT_FALSE(machineFromDialogResult(5));
    EXPECT_EQ(preselectedChoice(MachineType::None, true), std::nullopt);
    EXPECT_EQ(preselectedChoice(MachineType::Mark2, true), MachineChoice::Mark2);
    EXPECT_EQ(preselectedChoice(MachineType::Mark4, false), MachineChoice::Mark4);

    QTemporaryDir dir;
    ApplicationState state(pathsIn(dir), noEnvironment, fixedClock);
    const QString ini = state.settings().filePath();

    ASSERT_TRUE(state.applyMachineChoice(*machineFromDialogResult(4)));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\nWoodworker=Yes\r\nType=1\r\n"));
    EXPECT_EQ(state.machine(), MachineType::F1);
    EXPECT_EQ(preselectedChoice(state.machine(), state.settings().woodworker()), MachineChoice::F1Woodworker);

    ASSERT_TRUE(state.applyMachineChoice(*machineFromDialogResult(3)));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\nWoodworker=No\r\nType=1\r\n"));
    EXPECT_EQ(preselectedChoice(state.machine(), state.woodworker()), MachineChoice::F1);

    ASSERT_TRUE(state.applyMachineChoice(*machineFromDialogResult(1)));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\nWoodworker=No\r\nType=2\r\n"));
    EXPECT_EQ(state.profile().lineLimit, 160);
    ASSERT_TRUE(state.applyMachineChoice(*machineFromDialogResult(2)));
    EXPECT_EQ(state.settings().type(), "4");
}

TEST(SettingsPath, OneSeparatorBeforeTheFileName)
{
    EXPECT_EQ(joinPath(QStringLiteral("/opt/quillon"), QStringLiteral("Quillon.ini")), "/opt/quillon/Quillon.ini");
    EXPECT_EQ(joinPath(QStringLiteral("/opt/quillon/"), QStringLiteral("Quillon.ini")), "/opt/quillon/Quillon.ini");
    EXPECT_EQ(joinPath(QStringLiteral("/"), QStringLiteral("Quillon.ini")), "/Quillon.ini");
    EXPECT_EQ(joinPath(QStringLiteral("C:\\"), QStringLiteral("Quillon.ini")), "C:/Quillon.ini");

    QTemporaryDir dir;
    const QString program = dir.path() + QLatin1Char('/');
    EXPECT_EQ(settingsFilePath(program, QString(), QStringLiteral("/unused")), dir.filePath(QStringLiteral("Quillon.ini")));
    EXPECT_EQ(logFilePath(program, QStringLiteral("/unused/Quillon.ini")),
              dir.filePath(QStringLiteral("Quillon CNC Editor.log")));
    EXPECT_EQ(settingsFilePath(program, dir.filePath(QStringLiteral("mine.ini")), QStringLiteral("/unused")),
              dir.filePath(QStringLiteral("mine.ini")));
    EXPECT_EQ(settingsFilePath(QStringLiteral("/no/such/folder"), QString(), dir.path()),
              dir.filePath(QStringLiteral("Quillon/Quillon.ini")));
}

// An installed binary sits in <prefix>/bin, which root can write to: running it
// as root (for the serial port, say) must not leave files in /usr/bin.
TEST(SettingsPath, SharedBinaryFolderUsesTheConfigFolderEvenWhenWritable)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("usr/bin"));
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(isFolderWritable(bin));

    for (const QString& program : {bin, bin + QLatin1Char('/')}) {
        const QString ini = settingsFilePath(program, QString(), config);
        EXPECT_EQ(ini, config + QStringLiteral("/Quillon/Quillon.ini"));
        EXPECT_EQ(logFilePath(program, ini), config + QStringLiteral("/Quillon/Quillon CNC Editor.log"));
    }
    // A folder that merely ends in "bin" is still the program's own.
    const QString cabin = dir.filePath(QStringLiteral("cabin"));
    ASSERT_TRUE(QDir().mkpath(cabin));
    EXPECT_EQ(settingsFilePath(cabin, QString(), config), cabin + QStringLiteral("/Quillon.ini"));
}

TEST(SettingsPath, UnwritableProgramFolderUsesTheConfigFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a read-only folder is still writable, so it cannot be tested here";
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));

    const QString ini = settingsFilePath(program, QString(), config);
    EXPECT_EQ(ini, config + QStringLiteral("/Quillon/Quillon.ini"));
    EXPECT_EQ(logFilePath(program, ini), config + QStringLiteral("/Quillon/Quillon CNC Editor.log"));

    const Settings settings(ini, program);
    EXPECT_TRUE(settings.setValue(QStringLiteral("Units"), QStringLiteral("imperial")));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\nUnits=imperial\r\n"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(FileExists, FolderOrFileByTheTrailingSeparator)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("part.cnc"));
    writeBytes(file, "%\r\n");
    EXPECT_TRUE(blnStdFileExists(file));
    EXPECT_FALSE(blnStdFileExists(file + QLatin1Char('/')));
    EXPECT_TRUE(blnStdFileExists(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(blnStdFileExists(dir.path() + QLatin1Char('\\')));
    EXPECT_FALSE(blnStdFileExists(dir.path()));
    EXPECT_FALSE(blnStdFileExists(dir.filePath(QStringLiteral("other.cnc"))));
    EXPECT_FALSE(blnStdFileExists(QString()));
}
