#include "shell/RecentFiles.h"
#include "shell/Settings.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

TEST(RecentFiles, FiveFilesLeaveTheFourNewest)
{
    RecentFiles mru;
    for (const char* file : {"/cnc/a.cnc", "/cnc/b.cnc", "/cnc/c.cnc", "/cnc/d.cnc", "/cnc/e.cnc"})
        mru.MRUAddItem(QString::fromLatin1(file));
    EXPECT_EQ(mru.captions(),
              QStringList({"&1 /cnc/e.cnc", "&2 /cnc/d.cnc", "&3 /cnc/c.cnc", "&4 /cnc/b.cnc"}));
}

TEST(RecentFiles, ReopeningMovesToTheTopInItsNewestSpelling)
{
    RecentFiles mru;
    for (const char* file : {"/cnc/a.cnc", "/cnc/b.cnc", "/cnc/c.cnc"})
        mru.MRUAddItem(QString::fromLatin1(file));
    mru.MRUAddItem(QStringLiteral("/cnc/a.cnc"));  // entry 3
    EXPECT_EQ(mru.tags(), QStringList({"/cnc/a.cnc", "/cnc/c.cnc", "/cnc/b.cnc"}));

    mru.MRUAddItem(QStringLiteral("/CNC/B.CNC"));
    EXPECT_EQ(mru.tags(), QStringList({"/CNC/B.CNC", "/cnc/a.cnc", "/cnc/c.cnc"}));

    mru.MRUAddItem(QStringLiteral("/CNC/B.CNC"));  // already on top
    EXPECT_EQ(mru.count(), 3);
    EXPECT_EQ(mru.tag(0), "/CNC/B.CNC");
}

TEST(RecentFiles, AmpersandInAPathShowsAsItself)
{
    RecentFiles mru;
    mru.MRUAddItem(QStringLiteral("/cnc/Müller & Söhne.cnc"));
    EXPECT_EQ(mru.caption(0), QStringLiteral("&1 /cnc/Müller && Söhne.cnc"));
    EXPECT_EQ(mru.tag(0), QStringLiteral("/cnc/Müller & Söhne.cnc"));
}

TEST(RecentFiles, LoadsTheFourLowestKeysAndSavesOnlyThose)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillon.ini"));
    writeBytes(ini, "[Settings]\r\n"
                    "MRUFile05=C:\\f.cnc\r\n"
                    "MRUFile00=C:\\a.cnc\r\n"
                    "MRUFile01=C:\\b.cnc\r\n"
                    "MRUFile02=C:\\c.cnc\r\n"
                    "MRUFile03=C:\\d.cnc\r\n"
                    "MRUFile04=C:\\e.cnc\r\n");
    const Settings settings(ini, dir.path());
    RecentFiles mru;
    mru.MRUAddItem(QStringLiteral("/stale.cnc"));
    mru.MRUGetFileList(settings);
    EXPECT_EQ(mru.tags(), QStringList({"C:\\a.cnc", "C:\\b.cnc", "C:\\c.cnc", "C:\\d.cnc"}));

    mru.MRUAddItem(QStringLiteral("/home/u/neu.cnc"));
    ASSERT_TRUE(mru.MRUSaveFileList(settings));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\n"
                                         "MRUFile05=C:\\f.cnc\r\n"
                                         "MRUFile00=/home/u/neu.cnc\r\n"
                                         "MRUFile01=C:\\a.cnc\r\n"
                                         "MRUFile02=C:\\b.cnc\r\n"
                                         "MRUFile03=C:\\c.cnc\r\n"
                                         "MRUFile04=C:\\e.cnc\r\n"));
}

TEST(RecentFiles, StoredListEndsAtTheFirstNone)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillon.ini"));
    writeBytes(ini, "[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=\r\nMRUFile02=/c.cnc\r\nMRUFile03=none\r\n"
                    "MRUFile04=/e.cnc\r\n");
    const Settings settings(ini, dir.path());
    RecentFiles mru;
    mru.MRUGetFileList(settings);
    EXPECT_EQ(mru.tags(), QStringList({"/a.cnc", "/c.cnc"}));

    RecentFiles empty;
    empty.MRUGetFileList(Settings(dir.filePath(QStringLiteral("none.ini")), dir.path()));
    EXPECT_EQ(empty.count(), 0);
    EXPECT_TRUE(empty.MRUSaveFileList(Settings(dir.filePath(QStringLiteral("none.ini")), dir.path())));
}

TEST(RecentFiles, AnEntryTheFileCannotHoldIsLeftOutWithoutReviving)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Quillon.ini"));
    writeBytes(ini, "[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=/b.cnc\r\nMRUFile02=/old.cnc\r\n");
    const Settings settings(ini, dir.path());
    RecentFiles mru;
    mru.MRUGetFileList(settings);
    mru.MRUAddItem(QStringLiteral("/zwei\nZeilen.cnc"));  // a name no settings line can hold
    EXPECT_EQ(mru.count(), 4);
    EXPECT_FALSE(mru.MRUSaveFileList(settings));
    EXPECT_EQ(readBytes(ini), QByteArray("[Settings]\r\nMRUFile00=/a.cnc\r\nMRUFile01=/b.cnc\r\nMRUFile02=/old.cnc\r\n"
                                         "MRUFile03=none\r\n"));

    mru.MRUAddItem(QStringLiteral("/c.cnc"));  // pushes /old.cnc out
    EXPECT_FALSE(mru.MRUSaveFileList(settings));
    RecentFiles reloaded;
    reloaded.MRUGetFileList(settings);
    EXPECT_EQ(reloaded.tags(), QStringList({"/c.cnc", "/a.cnc", "/b.cnc"}));

    // Long paths and names in other scripts stay in the list.
    const QString longPath = QStringLiteral("/home/nutzer/") + QString(260, QLatin1Char('x')) + QStringLiteral(".cnc");
    reloaded.MRUAddItem(QStringLiteral("/\u0436.cnc"));
    reloaded.MRUAddItem(longPath);
    EXPECT_TRUE(reloaded.MRUSaveFileList(settings));
    RecentFiles again;
    again.MRUGetFileList(settings);
    EXPECT_EQ(again.tags(), QStringList({longPath, QStringLiteral("/\u0436.cnc"), "/c.cnc", "/a.cnc"}));
}
