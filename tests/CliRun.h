#pragma once

// Runs the built quillon-cli (its path in QUILLON_CLI, set by the test's
// target) and reads the files it works on, for the command-line tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace quillon::testing {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString text() const { return QString::fromUtf8(out); }
};

inline CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUILLON_CLI), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// A file of tests/data.
inline QString data(const char* name)
{
    return QDir(qEnvironmentVariable("QUILLON_TEST_DATA")).filePath(QString::fromLatin1(name));
}

// A file's bytes; a file that cannot be read compares unequal to any output.
inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace quillon::testing
