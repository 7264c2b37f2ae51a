#include "shell/IniFile.h"
#include "shell/RecentFiles.h"
#include "shell/Settings.h"

#include "CliRun.h"
#include "QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

// As Notepad or the Windows tools leave it: CR LF, Windows-1252, a comment,
// blanks around "=", quoted values and a second section.
const QByteArray kWindowsIni = "; Quillon settings\r\n[Settings]\r\nType=4\r\nFilePath = C:\\Programme\\Quillon\\Pr\xe4zision\\  \r\n"
                               "Win=\"120,240,9600,7200\"\r\nDrive='N:'\r\nUnits=\"metric'\r\n  comport  =  2  \r\n;Warning=No\r\nExport=\r\n"
                               "\r\n[Other]\r\nType=9\r\n";

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Quillon.ini"); }
    const QString s = QStringLiteral("Settings");
};

}  // namespace

TEST_F(IniFileTest, ReadsWhatWindowsWrote)
{
    const IniFile ini(writeBytes(path(), kWindowsIni));
    const struct { const char* section; const char* key; const char* fallback; QString value; } cases[] = {
        {"settings", "TYPE", "0", "4"}, {"settings", "FilePath", "", QStringLiteral("C:\\Programme\\Quillon\\Präzision\\")},
        {"settings", "Win", "", "120,240,9600,7200"}, {"settings", "Drive", "", "N:"}, {"settings", "Units", "", "\"metric'"},
        // A commented-out key is no key; a key with an empty value is not missing.
        {"settings", "Warning", "Yes", "Yes"}, {"settings", "Export", "c:\\", ""}, {"OTHER", "type", "", "9"},
        {"Missing", "Type", "0", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.strStdIniData(c.section, c.key, c.fallback), c.value) << c.key;
}

TEST_F(IniFileTest, NamesOutsideWindows1252ReadBackWhole)
{
    const IniFile ini(writeBytes(path(), "[Settings]\r\n"));
    // A name outside Windows-1252 makes its line UTF-8; so does a Windows-1252 text that would read as UTF-8.
    for (const char* value : {"/home/\u0436/welle.cnc", "\u00c3\u00a4"}) {
        ASSERT_TRUE(ini.write(s, "MRUFile00", QString::fromUtf8(value)));
        EXPECT_EQ(ini.strStdIniData(s, "MRUFile00", QString()), QString::fromUtf8(value));
        EXPECT_TRUE(bytesOf(path()).contains("MRUFile00=" + QByteArray(value) + "\r\n"));
    }
}

TEST_F(IniFileTest, WritingChangesOnlyItsOwnLineAndCreatesWhatIsMissing)
{
    const IniFile ini(writeBytes(path(), kWindowsIni + "Unknown = kept  \r\n; trailing comment"));
    ASSERT_TRUE(ini.write("SETTINGS", "type", "1"));
    ASSERT_TRUE(ini.write("Settings", "MRUFile00", QStringLiteral("C:\\CNC\\Drehteil ä.cnc")));
    ASSERT_TRUE(ini.write("Other", "Unknown", "x"));
    ASSERT_TRUE(ini.write("New", "Key", "v"));
    EXPECT_EQ(bytesOf(path()), QByteArray("; Quillon settings\r\n[Settings]\r\ntype=1\r\nFilePath = C:\\Programme\\Quillon\\Pr\xe4zision\\  \r\n"
                                          "Win=\"120,240,9600,7200\"\r\nDrive='N:'\r\nUnits=\"metric'\r\n  comport  =  2  \r\n;Warning=No\r\n"
                                          "Export=\r\nMRUFile00=C:\\CNC\\Drehteil \xe4.cnc\r\n\r\n[Other]\r\nType=9\r\nUnknown=x\r\n"
                                          "; trailing comment\r\n[New]\r\nKey=v\r\n"));
    EXPECT_EQ(ini.strStdIniData(s, "MRUFile00", QString()), QStringLiteral("C:\\CNC\\Drehteil ä.cnc"));
    // A value the file holds already, as written, leaves the file as it is
    // (the same file, not a copy put in its place).
    struct stat before{}, after{};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    ASSERT_TRUE(ini.write("New", "Key", "v"));
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    const QString nested = dir.filePath("config/Quillon/Quillon.ini");
    ASSERT_TRUE(IniFile(nested).write(s, "Type", "2"));
    ASSERT_TRUE(IniFile(nested).write(s, "Woodworker", "No"));
    EXPECT_EQ(bytesOf(nested), QByteArray("[Settings]\r\nType=2\r\nWoodworker=No\r\n"));
    // A section that is the last line, without a line end.
    ASSERT_TRUE(IniFile(writeBytes(path(), "[Settings]")).write(s, "Units", "imperial"));
    EXPECT_EQ(bytesOf(path()), QByteArray("[Settings]\r\nUnits=imperial\r\n"));
}

TEST_F(IniFileTest, RefusesWritesThatWouldNotReadBack)
{
    const IniFile ini(writeBytes(path(), kWindowsIni));
    EXPECT_FALSE(ini.write(s, QStringLiteral("Key\u03c9"), "x"));
    for (const char* value : {"/tmp/blank at the end.cnc ", "'/tmp/quoted.cnc'", "/tmp/two\nlines.cnc"})
        EXPECT_FALSE(ini.write(s, "MRUFile00", value)) << value;
    EXPECT_FALSE(ini.write(s, "A=B", "x") || ini.write("Se]t", "Key", "x"));
    EXPECT_EQ(bytesOf(path()), kWindowsIni);
    // A path that is a folder cannot become the settings file.
    EXPECT_FALSE(IniFile(dir.path()).write(s, "Type", "1"));
    // A file that cannot be read is not overwritten.
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission is still readable";
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::WriteOwner));
    EXPECT_FALSE(IniFile(path()).write(s, "Type", "1"));
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(bytesOf(path()), kWindowsIni);
}

TEST_F(IniFileTest, FlagRule)
{
    for (const char* on : {"ON", "-1", "\tTrue "})
        EXPECT_TRUE(blnIniFlagText(on)) << on;
    for (const char* off : {"2", "yes please", "- 1"})
        EXPECT_FALSE(blnIniFlagText(off)) << off;
}

TEST_F(IniFileTest, RecentFilesKeepTheFourNewestInTheirNewestSpelling)
{
    RecentFiles mru;
    for (const char* file : {"/cnc/a.cnc", "/cnc/b.cnc", "/cnc/c.cnc", "/cnc/d.cnc", "/cnc/e.cnc"})
        mru.MRUAddItem(file);
    EXPECT_EQ(mru.captions(), QStringList({"&1 /cnc/e.cnc", "&2 /cnc/d.cnc", "&3 /cnc/c.cnc", "&4 /cnc/b.cnc"}));
    mru.MRUAddItem("/cnc/c.cnc");  // entry 3
    EXPECT_EQ(mru.tags(), QStringList({"/cnc/c.cnc", "/cnc/e.cnc", "/cnc/d.cnc", "/cnc/b.cnc"}));
    mru.MRUAddItem("/CNC/B.CNC");
    EXPECT_EQ(mru.tags(), QStringList({"/CNC/B.CNC", "/cnc/c.cnc", "/cnc/e.cnc", "/cnc/d.cnc"}));
    // An ampersand in a path shows as itself.
    mru.MRUAddItem(QStringLiteral("/cnc/Müller & Söhne.cnc"));
    EXPECT_EQ(mru.caption(0), QStringLiteral("&1 /cnc/Müller && Söhne.cnc"));

    // Loaded from the four lowest keys, saved only to those.
    const Settings settings(writeBytes(path(), "[Settings]\r\nMRUFile05=C:\\f.cnc\r\nMRUFile00=C:\\a.cnc\r\nMRUFile01=C:\\b.cnc\r\n"
                                               "MRUFile02=C:\\c.cnc\r\nMRUFile03=C:\\d.cnc\r\nMRUFile04=C:\\e.cnc\r\n"),
                            dir.path());
    mru.MRUGetFileList(settings);
    EXPECT_EQ(mru.tags(), QStringList({"C:\\a.cnc", "C:\\b.cnc", "C:\\c.cnc", "C:\\d.cnc"}));
    mru.MRUAddItem("/home/u/neu.cnc");
    ASSERT_TRUE(mru.MRUSaveFileList(settings));
    EXPECT_EQ(bytesOf(path()), QByteArray("[Settings]\r\nMRUFile05=C:\\f.cnc\r\nMRUFile00=/home/u/neu.cnc\r\nMRUFile01=C:\\a.cnc\r\n"
                                          "MRUFile02=C:\\b.cnc\r\nMRUFile03=C:\\c.cnc\r\nMRUFile04=C:\\e.cnc\r\n"));
    // The stored list ends at the first "none"; empty entries are skipped.
    writeBytes(path(), "[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=\r\nMRUFile02=/c.cnc\r\nMRUFile03=none\r\nMRUFile04=/e.cnc\r\n");
    mru.MRUGetFileList(settings);
    EXPECT_EQ(mru.tags(), QStringList({"/a.cnc", "/c.cnc"}));
}

TEST_F(IniFileTest, RecentFileTheSettingsCannotHoldIsLeftOutWithoutReviving)
{
    const Settings settings(writeBytes(path(), "[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=/b.cnc\r\nMRUFile02=/old.cnc\r\n"), dir.path());
    RecentFiles mru;
    mru.MRUGetFileList(settings);
    mru.MRUAddItem("/zwei\nZeilen.cnc");  // a name no settings line can hold
    EXPECT_EQ(mru.count(), 4);
    EXPECT_FALSE(mru.MRUSaveFileList(settings));
    EXPECT_EQ(bytesOf(path()), QByteArray("[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=/b.cnc\r\nMRUFile02=/old.cnc\r\nMRUFile03=none\r\n"));
    mru.MRUAddItem("/c.cnc");  // pushes /old.cnc out
    EXPECT_FALSE(mru.MRUSaveFileList(settings));
    RecentFiles reloaded;
    reloaded.MRUGetFileList(settings);
    EXPECT_EQ(reloaded.tags(), QStringList({"/c.cnc", "/a.cnc", "/b.cnc"}));
}
