#include "shell/ApplicationState.h"
#include "shell/MachineSelection.h"
#include "shell/MillText.h"
#include "shell/NetworkDrive.h"
#include "shell/Settings.h"
#include "shell/SettingsPath.h"
#include "shell/WindowPlacement.h"

#include "CliRun.h"
#include "QtPrinters.h"
#include "RecordingSink.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

ApplicationState stateIn(const QTemporaryDir& dir)
{
    return ApplicationState({dir.path(), dir.filePath("Quillon.ini"), dir.filePath("Quillon CNC Editor.log")},
                            [](const QString&) { return std::optional<QString>(); },
                            [] { return QDateTime(QDate(2026, 12, 6), QTime(12, 0)); });
}

}  // namespace

TEST(Settings, DefaultsOfEveryKeyWithoutCreatingTheFile)
{
    QTemporaryDir dir;
    const Settings settings(dir.filePath("Quillon.ini"), "/opt/quillon");
    EXPECT_EQ(QStringList({settings.type(), settings.win(), settings.comPort(), settings.units(), settings.fileFolder(), settings.drive(),
                           settings.exportFolder(), settings.mruFile(0), Settings::mruKey(12)}),
              QStringList({"0", "none", "1", "metric", "/opt/quillon/CNCfiles/", "N:", "c:\\spindra\\turndata\\", "none", "MRUFile12"}));
    EXPECT_EQ(std::vector<bool>({settings.woodworker(), settings.warning(), settings.network()}), std::vector<bool>({false, true, false}));
    EXPECT_EQ(settings.previewPane(), (PreviewPaneSetting{.visible = false, .floating = false, .side = PaneSide::Right, .placement = {}, .sideView = false}));
    EXPECT_FALSE(QFile::exists(settings.filePath()));
}

TEST(Settings, PaneAndWindowKeysReadBackAndForgiveHandEdits)
{
    QTemporaryDir dir;
    const Settings settings(dir.filePath("Quillon.ini"), "/opt/quillon");
    const PreviewPaneSetting pane{.visible = true, .floating = true, .side = PaneSide::Bottom, .placement = WindowPlacement{1500, 3000, 6000, 4500}, .sideView = true};
    ASSERT_TRUE(settings.setPreviewPane(pane));
    EXPECT_EQ(settings.previewPane(), pane);
    EXPECT_EQ(bytesOf(settings.filePath()), QByteArray("[Settings]\r\nPreview=Yes\r\nPreviewFloat=Yes\r\nPreviewSide=bottom\r\n"
                                                       "PreviewWin=1500,3000,6000,4500\r\nPreviewView=side\r\n"));
    // Hand edits: flags by the flag rule, unknown words give the defaults.
    settings.setValue("Preview", " on ");
    settings.setValue("PreviewSide", "Left");
    settings.setValue("PreviewWin", "1,2,drei,4");
    settings.setValue("PreviewView", QStringLiteral("schräg"));
    EXPECT_EQ(settings.previewPane(), (PreviewPaneSetting{.visible = true, .floating = true, .side = PaneSide::Left, .placement = {}, .sideView = false}));

    EXPECT_EQ(parseWinSetting(" -60 , 0 ,12000.4, 9000.6"), (WindowPlacement{-60, 0, 12000, 9001}));
    for (const char* bad : {"none", "1,2,3", "1,2,3,4,5", "1,2,,4", "1e30,0,9600,7200"})
        EXPECT_EQ(parseWinSetting(bad), std::nullopt) << bad;
    ASSERT_TRUE(settings.setWindowPlacement({-15, 300, 9600, 7215}));
    EXPECT_EQ(settings.windowPlacement(), (WindowPlacement{-15, 300, 9600, 7215}));
}

TEST(MachineSelection, TypeSettingAndCommandLine)
{
    const struct { const char* value; MachineType machine; } types[] = {
        {" 4 ", MachineType::Mark4}, {"4abc", MachineType::Mark4}, {"2.0", MachineType::Mark2}, {"3", MachineType::None},
        {"40", MachineType::None}, {"99999999999999999999", MachineType::None},
    };
    for (const auto& c : types)
        EXPECT_EQ(machineFromTypeSetting(c.value), c.machine) << c.value;

    const struct { QStringList args; MachineType machine; const char* settings; const char* file; } lines[] = {
        {{"4", "x"}, MachineType::None, "", ""}, {{"mk4"}, MachineType::Mark4, "", ""},  // only the last character counts
        {{"/x/part.cnc", "14"}, MachineType::Mark4, "", "/x/part.cnc"}, {{"4", "--settings", "cfg2"}, MachineType::Mark4, "cfg2", ""},
        {{"--settings=/tmp/q4.ini", "1"}, MachineType::F1, "/tmp/q4.ini", ""}, {{"--settings"}, MachineType::None, "", ""},
    };
    for (const auto& c : lines) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.machine, c.machine);
        EXPECT_EQ(line.settingsPath, c.settings);
        EXPECT_EQ(line.programFile, c.file);
    }
}

TEST(MachineSelection, CommandLineWinsForOneRunAndDialogChoicesAreSaved)
{
    QTemporaryDir dir;
    const QByteArray ini = "[Settings]\r\nType=1\r\nWoodworker=Yes\r\n";
    writeBytes(dir.filePath("Quillon.ini"), ini);
    ApplicationState state = stateIn(dir);
    ASSERT_EQ(state.machineAtStart({"4"}), MachineType::Mark4);
    state.setMachine(MachineType::Mark4);
    EXPECT_FALSE(state.woodworker());  // a lathe is never a Woodworker
    EXPECT_EQ(bytesOf(state.settings().filePath()), ini);
    EXPECT_EQ(state.machineAtStart({}), MachineType::F1);
    state.setMachine(MachineType::F1);
    EXPECT_TRUE(state.woodworker());

    EXPECT_FALSE(machineFromDialogResult(0) || machineFromDialogResult(5));
    QTemporaryDir fresh;
    ApplicationState chosen = stateIn(fresh);
    const QString path = chosen.settings().filePath();
    ASSERT_TRUE(chosen.applyMachineChoice(*machineFromDialogResult(4)));
    EXPECT_EQ(bytesOf(path), QByteArray("[Settings]\r\nWoodworker=Yes\r\nType=1\r\n"));
    EXPECT_EQ(preselectedChoice(chosen.machine(), chosen.settings().woodworker()), MachineChoice::F1Woodworker);
    ASSERT_TRUE(chosen.applyMachineChoice(*machineFromDialogResult(3)));
    EXPECT_EQ(bytesOf(path), QByteArray("[Settings]\r\nWoodworker=No\r\nType=1\r\n"));
    EXPECT_EQ(preselectedChoice(chosen.machine(), chosen.woodworker()), MachineChoice::F1);
}

TEST(SettingsPath, OneSeparatorAndTheConfigFolderWhereTheProgramFolderWillNotDo)
{
    QTemporaryDir dir;
    const QString program = dir.path() + '/';
    EXPECT_EQ(settingsFilePath(program, QString(), "/unused"), dir.filePath("Quillon.ini"));
    EXPECT_EQ(settingsFilePath(program, dir.filePath("mine.ini"), "/unused"), dir.filePath("mine.ini"));
    EXPECT_EQ(settingsFilePath("/no/such/folder", QString(), dir.path()), dir.filePath("Quillon/Quillon.ini"));

    // An installed binary sits in <prefix>/bin, which root can write to:
    // running it as root must not leave files in /usr/bin.
    const QString bin = dir.filePath("usr/bin");
    const QString config = dir.filePath("config");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString binIni = settingsFilePath(bin + '/', QString(), config);
    EXPECT_EQ(binIni, config + "/Quillon/Quillon.ini");
    EXPECT_EQ(logFilePath(bin, binIni), config + "/Quillon/Quillon CNC Editor.log");

    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    const QString readOnly = dir.filePath("program");
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const QString ini = settingsFilePath(readOnly, QString(), config);
    EXPECT_EQ(ini, config + "/Quillon/Quillon.ini");
    EXPECT_TRUE(Settings(ini, readOnly).setValue("Units", "imperial"));
    EXPECT_EQ(bytesOf(ini), QByteArray("[Settings]\r\nUnits=imperial\r\n"));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(NetworkDrive, TheMountHoldingTheFolderDecides)
{
    const QString mounts = QStringLiteral("22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                                          "30 22 0:40 / /srv/schule rw shared:2 - nfs4 server:/export rw\n"
                                          "31 30 8:2 / /srv/schule/lokal rw - ext4 /dev/sdb1 rw\n"
                                          "32 22 0:41 / /mnt/win\\040share rw - cifs //pc/share rw\n");
    const struct { const char* folder; bool network; } cases[] = {
        {"/srv/schule/lokal/bin", false},  // a local disk mounted inside the share
        {"/srv/schulewerk", false},        // a neighbour whose name only begins the same
        {"/srv/schule/quillon/bin", true}, {"/mnt/win share/quillon", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(onNetworkFileSystem(c.folder, mounts), c.network) << c.folder;
    EXPECT_FALSE(onNetworkFileSystem("/srv/schule", QString()));
}

TEST(ShellTexts, MillWordsAndTheUnsavedWorkQuestion)
{
    EXPECT_EQ(strMillText(QStringLiteral("DREHMASCHINE und drehMaschine, Dreh maschine")), QStringLiteral("Fräsmaschine und fräsmaschine, Dreh maschine"));

    // Its wording is checked where the receive command asks it.
    RecordingSink sink;
    EXPECT_TRUE(blnAskUnsavedWork(sink, "?"));
    EXPECT_EQ(sink.boxes.at(0).style, 292);  // No is the default button
    sink.answer = MsgResult::No;
    EXPECT_FALSE(blnAskUnsavedWork(sink, "?"));
}
