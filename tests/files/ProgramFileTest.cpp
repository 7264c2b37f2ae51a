#include "files/ProgramFile.h"
#include "files/ProgramText.h"

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

Program sampleMark4()
{
    const QString text = QString::fromUtf8("Welle Ø 25\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                           "    00 00  1250    200         Anfahren\r\n   M");
    return blnDecodeBuffer(text, MachineType::Mark4, Units::Metric).program;
}

}  // namespace

TEST(ProgramFile, SavedBytesAreWindows1252WithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("welle.cnc"));
    const SaveResult r = SaveFile(path, sampleMark4(), MachineType::Mark4);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const QByteArray expected = QByteArray("Welle \xD8 25\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                           "    00 00  1250    200         Anfahren\r\n   M\r\n");
    EXPECT_EQ(fileBytes(path), expected);
}

TEST(ProgramFile, FailedSaveKeepsTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.cnc"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents\r\n");
    }
    Program bad = sampleMark4();
    bad.description = QString::fromUtf8("Kreis \u25CB");
    const SaveResult r = SaveFile(path, bad, MachineType::Mark4);
    EXPECT_FALSE(r.ok);
    // Nothing was written: the reason, without the write-protect advice.
    EXPECT_EQ(r.message, QString::fromUtf8("Datei kann nicht geschrieben werden ") + path
                             + QString::fromUtf8("\r\nDiese Zeichen können in einer CNC Datei nicht gespeichert werden: \u25CB"));
    EXPECT_EQ(fileBytes(path), QByteArray("old contents\r\n"));

    const QString missingFolder = dir.filePath(QStringLiteral("nicht/da/x.cnc"));
    const SaveResult r2 = SaveFile(missingFolder, sampleMark4(), MachineType::Mark4);
    EXPECT_FALSE(r2.ok);
    EXPECT_EQ(r2.message, QString::fromUtf8("Datei kann nicht geschrieben werden ") + missingFolder
                              + QString::fromUtf8("\r\nStellen Sie sicher das die Diskette nicht schreibgeschützt ist.\r\n"));
    EXPECT_FALSE(QFile::exists(missingFolder));
}

TEST(ProgramFile, ReadWholeFileReportsMissingFiles)
{
    QString error;
    EXPECT_FALSE(readWholeFile(QStringLiteral("/nonexistent/quillon.cnc"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}
