// Every file under tests/fuzz/corpus/<target>/ goes through its target's
// check in the ordinary build, so inputs that once broke a property stay
// regression tests without clang or libFuzzer.
#include "FuzzChecks.h"

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace quillon::fuzz;

TEST(FuzzCorpus, EveryStoredInputKeepsItsProperties)
{
    const QDir root(QStringLiteral(QUILLON_FUZZ_CORPUS));
    ASSERT_TRUE(root.exists()) << root.path().toStdString();
    for (const FuzzTarget& target : fuzzTargets()) {
        const QDir dir(root.filePath(QString::fromLatin1(target.name)));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        // A target without seeds would fuzz from nothing and test nothing here.
        EXPECT_FALSE(files.isEmpty()) << target.name;
        for (const QString& name : files) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            EXPECT_EQ(target.check(f.readAll(), CheckRun::Full), std::string()) << target.name << "/" << name.toStdString();
        }
    }
}
