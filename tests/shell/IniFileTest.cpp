#include "shell/IniFile.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;

namespace {

// As Notepad or the Windows tools leave it: CR LF, Windows-1252, a comment,
// blanks around "=", quoted values and a second section.
const QByteArray kWindowsIni =
    "; Quillon settings\r\n"
    "[Settings]\r\n"
    "Type=4\r\n"
    "FilePath = C:\\Programme\\Quillon\\Pr\xe4zision\\  \r\n"
    "Win=\"120,240,9600,7200\"\r\n"
    "Drive='N:'\r\n"
    "Units=\"metric'\r\n"
    "  comport  =  2  \r\n"
    ";Warning=No\r\n"
    "Export=\r\n"
    "\r\n"
    "[Other]\r\n"
    "Type=9\r\n";

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Quillon.ini")); }
};

}  // namespace

TEST_F(IniFileTest, ReadsWhatWindowsWrote)
{
    writeBytes(path(), kWindowsIni);
    const IniFile ini(path());
    const QString s = QStringLiteral("settings");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("TYPE"), QStringLiteral("0")), "4");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("FilePath"), QString()),
              QStringLiteral("C:\\Programme\\Quillon\\Präzision\\"));
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Win"), QString()), "120,240,9600,7200");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Drive"), QString()), "N:");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Units"), QString()), "\"metric'");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("ComPort"), QStringLiteral("1")), "2");
    // A commented-out key is no key; a key with an empty value is not missing.
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Warning"), QStringLiteral("Yes")), "Yes");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Export"), QStringLiteral("c:\\")), "");
    EXPECT_EQ(ini.strStdIniData(QStringLiteral("OTHER"), QStringLiteral("type"), QString()), "9");
    EXPECT_EQ(ini.strStdIniData(QStringLiteral("Missing"), QStringLiteral("Type"), QStringLiteral("0")), "0");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Network"), QStringLiteral("No")), "No");

    const QChar nul(0);
    EXPECT_EQ(ini.strStdIniData(s, QString(), QStringLiteral("x")),
              QStringLiteral("Type") + nul + "FilePath" + nul + "Win" + nul + "Drive" + nul + "Units" + nul + "comport"
                  + nul + "Export" + nul + nul);

    const IniFile missing(dir.filePath(QStringLiteral("nothing.ini")));
    EXPECT_EQ(missing.strStdIniData(s, QStringLiteral("Type"), QStringLiteral("0")), "0");
    EXPECT_EQ(missing.strStdIniData(s, QString(), QStringLiteral("d")), "d");
}

TEST_F(IniFileTest, LongValuesAndNamesOutsideWindows1252ReadBackWhole)
{
    const QByteArray longValue(300, 'a');
    writeBytes(path(), "[Settings]\r\nLong=" + longValue + "\r\nQuoted=\"" + longValue + "\"\r\n");
    const IniFile ini(path());
    const QString s = QStringLiteral("Settings");
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Long"), QString()), QString(300, QLatin1Char('a')));
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("Quoted"), QString()), QString(300, QLatin1Char('a')));
    EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("None"), QString(260, QLatin1Char('d'))), QString(260, QLatin1Char('d')));

    // Written whole and read back whole: a long path, a Cyrillic name (a
    // UTF-8 line), and a Windows-1252 text that would read as UTF-8.
    const QString longPath = QStringLiteral("/home/nutzer/") + QString(280, QLatin1Char('x')) + QStringLiteral(".cnc");
    const QString cases[] = {longPath, QString::fromUtf8("/home/\u0436/welle.cnc"), QString::fromUtf8("\u00c3\u00a4")};
    for (const QString& value : cases) {
        ASSERT_TRUE(ini.write(s, QStringLiteral("MRUFile00"), value)) << value.toStdString();
        EXPECT_EQ(ini.strStdIniData(s, QStringLiteral("MRUFile00"), QString()), value);
    }
    EXPECT_TRUE(readBytes(path()).contains("MRUFile00=\xc3\x83\xc2\xa4\r\n"));
    ASSERT_TRUE(ini.write(s, QStringLiteral("MRUFile00"), QString::fromUtf8("/home/\u0436/welle.cnc")));
    EXPECT_TRUE(readBytes(path()).contains("MRUFile00=/home/\xd0\xb6/welle.cnc\r\n"));
}

TEST_F(IniFileTest, WritingChangesOnlyItsOwnLine)
{
    writeBytes(path(), kWindowsIni + "Unknown = kept  \r\n; trailing comment");
    const IniFile ini(path());

    ASSERT_TRUE(ini.write(QStringLiteral("SETTINGS"), QStringLiteral("type"), QStringLiteral("1")));
    ASSERT_TRUE(ini.write(QStringLiteral("Settings"), QStringLiteral("MRUFile00"),
                          QStringLiteral("C:\\CNC\\Drehteil ä.cnc")));
    ASSERT_TRUE(ini.write(QStringLiteral("Other"), QStringLiteral("Unknown"), QStringLiteral("x")));
    ASSERT_TRUE(ini.write(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v")));

    EXPECT_EQ(readBytes(path()),
              QByteArray("; Quillon settings\r\n"
                         "[Settings]\r\n"
                         "type=1\r\n"
                         "FilePath = C:\\Programme\\Quillon\\Pr\xe4zision\\  \r\n"
                         "Win=\"120,240,9600,7200\"\r\n"
                         "Drive='N:'\r\n"
                         "Units=\"metric'\r\n"
                         "  comport  =  2  \r\n"
                         ";Warning=No\r\n"
                         "Export=\r\n"
                         "MRUFile00=C:\\CNC\\Drehteil \xe4.cnc\r\n"
                         "\r\n"
                         "[Other]\r\n"
                         "Type=9\r\n"
                         "Unknown=x\r\n"
                         "; trailing comment\r\n"
                         "[New]\r\n"
                         "Key=v\r\n"));
    EXPECT_EQ(ini.strStdIniData(QStringLiteral("Settings"), QStringLiteral("MRUFile00"), QString()),
              QStringLiteral("C:\\CNC\\Drehteil ä.cnc"));

    // A value the file holds already, as written, leaves the file as it is
    // (the same file, not a copy put in its place).
    struct stat before{}, after{};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    ASSERT_TRUE(ini.write(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v")));
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(IniFileTest, WritingCreatesFolderFileAndSection)
{
    const QString nested = dir.filePath(QStringLiteral("config/Quillon/Quillon.ini"));
    const IniFile ini(nested);
    ASSERT_TRUE(ini.write(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("2")));
    ASSERT_TRUE(ini.write(QStringLiteral("Settings"), QStringLiteral("Woodworker"), QStringLiteral("No")));
    EXPECT_EQ(readBytes(nested), QByteArray("[Settings]\r\nType=2\r\nWoodworker=No\r\n"));

    // A section that is the last line, without a line end.
    writeBytes(path(), "[Settings]");
    ASSERT_TRUE(IniFile(path()).write(QStringLiteral("Settings"), QStringLiteral("Units"), QStringLiteral("imperial")));
    EXPECT_EQ(readBytes(path()), QByteArray("[Settings]\r\nUnits=imperial\r\n"));
}

TEST_F(IniFileTest, RefusesWritesThatWouldNotReadBack)
{
    writeBytes(path(), kWindowsIni);
    const IniFile ini(path());
    const QString s = QStringLiteral("Settings");
    EXPECT_FALSE(ini.write(s, QStringLiteral("Key\u03c9"), QStringLiteral("x")));
    EXPECT_FALSE(ini.write(s, QStringLiteral("MRUFile00"), QStringLiteral("/tmp/blank at the end.cnc ")));
    EXPECT_FALSE(ini.write(s, QStringLiteral("MRUFile00"), QStringLiteral("'/tmp/quoted.cnc'")));
    EXPECT_FALSE(ini.write(s, QStringLiteral("MRUFile00"), QStringLiteral("/tmp/two\nlines.cnc")));
    EXPECT_FALSE(ini.write(s, QStringLiteral("A=B"), QStringLiteral("x")));
    EXPECT_FALSE(ini.write(s, QString(), QStringLiteral("x")));
    EXPECT_FALSE(ini.write(QStringLiteral("Se]t"), QStringLiteral("Key"), QStringLiteral("x")));
    EXPECT_EQ(readBytes(path()), kWindowsIni);

    // A path that is a folder cannot become the settings file.
    EXPECT_FALSE(IniFile(dir.path()).write(s, QStringLiteral("Type"), QStringLiteral("1")));
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotOverwritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission is still readable";
    writeBytes(path(), kWindowsIni);
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::WriteOwner));
    EXPECT_FALSE(IniFile(path()).write(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("1")));
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(readBytes(path()), kWindowsIni);
}

TEST(IniFlag, FlagRule)
{
    struct Case { const char* value; bool flag; };
    const Case cases[] = {
        {"Yes", true},  {"  yes  ", true}, {"ON", true},   {"true", true}, {"1", true},  {"-1", true},
        {"\tTrue ", true}, {"No", false}, {"", false},    {"0", false},   {"2", false}, {"y", false},
        {"yes please", false}, {"- 1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blnIniFlagText(QString::fromLatin1(c.value)), c.flag) << c.value;
}

TEST_F(IniFileTest, FlagsReadThroughTheFile)
{
    writeBytes(path(), "[Settings]\r\nNetwork = yes \r\nWarning=\r\nOdd=maybe\r\n");
    const IniFile ini(path());
    const QString s = QStringLiteral("Settings");
    EXPECT_TRUE(ini.blnStdIniFlag(s, QStringLiteral("Network"), QStringLiteral("No")));
    EXPECT_FALSE(ini.blnStdIniFlag(s, QStringLiteral("Warning"), QStringLiteral("Yes")));
    EXPECT_FALSE(ini.blnStdIniFlag(s, QStringLiteral("Odd"), QStringLiteral("Yes")));
    EXPECT_TRUE(ini.blnStdIniFlag(s, QStringLiteral("Missing"), QStringLiteral("-1")));
}
