// A save that is cut short, by a kill, by a full disk or by a folder it may
// not write, must leave the previous file exactly as it was.
#include "QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kOld = "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n    00 21                      \r\n   M\r\n";

void writeOld(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kOld);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(SaveFaults, KilledWhileSavingLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prog.cnc"));
    writeOld(path);

    QProcess worker;
    worker.start(QStringLiteral(SAVE_WORKER), {path, QStringLiteral("loop")});
    ASSERT_TRUE(worker.waitForReadyRead(10000));
    // Watch until the worker has replaced the file a few times (a sanitizer
    // build saves slowly); every look must see the old program or a whole
    // new one, never a part.
    QByteArray complete;
    int replacementsSeen = 0;  // looks that found the new program
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
    const QByteArray after = contents(path);
    EXPECT_TRUE(after == kOld || after.endsWith("   M\r\n")) << "size " << after.size();
    // The worker did replace the file while we watched; the last complete
    // program is what stays.
    ASSERT_FALSE(complete.isEmpty());
    EXPECT_EQ(after, complete);
}

TEST(SaveFaults, FullDiskGivesTheFailureMessageAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prog.cnc"));
    writeOld(path);

    QProcess worker;
    worker.start(QStringLiteral(SAVE_WORKER), {path, QStringLiteral("limit:4096")});
    ASSERT_TRUE(worker.waitForFinished(30000));
    EXPECT_EQ(worker.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(worker.readAllStandardOutput())
                    .startsWith(QStringLiteral("Datei kann nicht geschrieben werden ") + path));
    EXPECT_EQ(contents(path), kOld);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("prog.cnc")});
}

TEST(SaveFaults, ReadOnlyFolderGivesTheFailureMessageAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/prog.cnc");
    writeOld(path);
    // Everyone may enter and read, nobody but root may write.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);

    // Root writes anywhere (as CI runs), so there the save runs as "nobody".
    QString program = QStringLiteral(SAVE_WORKER);
    QStringList args{path, QStringLiteral("once")};
    if (::geteuid() == 0) {
        QProcess probe;
        probe.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                QStringLiteral("--clear-groups"), QStringLiteral("true")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            GTEST_SKIP() << "running as root and setpriv cannot drop to an unprivileged user";
        args = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), program} + args;
        program = QStringLiteral("setpriv");
    }

    QProcess worker;
    worker.start(program, args);
    ASSERT_TRUE(worker.waitForFinished(30000));
    EXPECT_EQ(worker.exitCode(), 1) << worker.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(worker.readAllStandardOutput()),
              QStringLiteral("Datei kann nicht geschrieben werden ") + path
                  + QStringLiteral("\r\nStellen Sie sicher das die Diskette nicht schreibgesch\u00fctzt ist.\r\n"));
    EXPECT_EQ(contents(path), kOld);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("prog.cnc")});
    ::chmod(QFile::encodeName(folder).constData(), 0755);  // so the temporary folder can be removed
}
