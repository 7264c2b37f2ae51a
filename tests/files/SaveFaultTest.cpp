// A save that is cut short, by a kill or by a full disk, must leave the
// previous file exactly as it was.
#include "QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>

namespace {

const QByteArray kOld = "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n    00 21                      \r\n   M\r\n";

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(SaveFaults, KilledOrOutOfSpaceWhileSavingLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prog.cnc"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(kOld) == kOld.size());
    old.close();
    QProcess worker;
    worker.start(QStringLiteral(SAVE_WORKER), {path, QStringLiteral("loop")});
    ASSERT_TRUE(worker.waitForReadyRead(10000));
    // Watch until the worker has replaced the file a few times (a sanitizer
    // build saves slowly); every look must see the old program or a whole
    // new one, never a part.
    QByteArray complete;
    int replacementsSeen = 0;
    QElapsedTimer clock;
    clock.start();
    while (replacementsSeen < 3 && clock.elapsed() < 20000) {
        QThread::msleep(3);
        const QByteArray now = contents(path);
        if (now != kOld) {
            EXPECT_TRUE(now.endsWith("   M\r\n")) << "partial file seen, size " << now.size();
            ++replacementsSeen;
            complete = now;
            QThread::msleep(11);
        }
    }
    ::kill(static_cast<pid_t>(worker.processId()), SIGKILL);
    worker.waitForFinished(5000);
    // The last complete program is what stays.
    ASSERT_FALSE(complete.isEmpty());
    EXPECT_EQ(contents(path), complete);

    // A full disk: the failure message, the old file, and no temporary file beside it.
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate) && old.write(kOld) == kOld.size());
    old.close();
    worker.start(QStringLiteral(SAVE_WORKER), {path, QStringLiteral("limit:4096")});
    ASSERT_TRUE(worker.waitForFinished(30000));
    EXPECT_EQ(worker.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(worker.readAllStandardOutput()).startsWith(QStringLiteral("Datei kann nicht geschrieben werden ") + path));
    EXPECT_EQ(contents(path), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("prog.cnc")});
}
