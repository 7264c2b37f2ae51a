#pragma once

// The one way tests read and write files (tests/data and temporary ones) and
// run the built quillon-cli (its path in QUILLON_CLI, set by the test's target).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace quillon::testing {

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

inline QString writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
    return path;
}

// A tool's standard output (the poppler-utils tools that read printed PDFs
// back, for one).
inline QString toolOutput(const char* name, const QStringList& args)
{
    QProcess p;
    p.start(QString::fromLatin1(name), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << name << " is missing";
    return QString::fromUtf8(p.readAllStandardOutput());
}

#ifdef QUILLON_CLI
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString text() const { return QString::fromUtf8(out); }
};

// Started, not waited for: for the commands that talk to a line. `program`
// is the built quillon-cli unless a test runs a copy of it.
inline std::unique_ptr<QProcess> startCli(const QStringList& args, const QString& program = QStringLiteral(QUILLON_CLI))
{
    auto p = std::make_unique<QProcess>();
    p->start(program, args);
    EXPECT_TRUE(p->waitForStarted(5000));
    return p;
}

inline CliRun cli(const QStringList& args, const QString& program = QStringLiteral(QUILLON_CLI))
{
    const auto p = startCli(args, program);
    EXPECT_TRUE(p->waitForFinished(60000));
    return {p->exitCode(), p->readAllStandardOutput(), p->readAllStandardError()};
}
#endif

}  // namespace quillon::testing
