#include "files/ProgramFile.h"
#include "files/ProgramText.h"

#include "QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

TEST(ProgramFile, SavedBytesAreWindows1252WithCrLfAndAFailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("welle.cnc"));
    Program program = blnDecodeBuffer(QString::fromUtf8("Welle Ø 25\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                                                         "    00 00  1250    200         Anfahren\r\n   M"),
                                      MachineType::Mark4, Units::Metric)
                          .program;
    const SaveResult saved = SaveFile(path, program, MachineType::Mark4);
    ASSERT_TRUE(saved.ok) << saved.message.toStdString();
    const QByteArray bytes = "Welle \xD8 25\r\n%\r\n    N` G`   X `    Z `  F`  H \r\n"
                             "    00 00  1250    200         Anfahren\r\n   M\r\n";
    EXPECT_EQ(readWholeFile(path).value_or(QByteArray()), bytes);

    // A character without its byte: nothing is written, and the message gives
    // the reason instead of the write-protect advice.
    program.description = QString::fromUtf8("Kreis \u25CB");
    const SaveResult refused = SaveFile(path, program, MachineType::Mark4);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "Datei kann nicht geschrieben werden " + path
                                   + QString::fromUtf8("\r\nDiese Zeichen können in einer CNC Datei nicht gespeichert werden: \u25CB"));
    EXPECT_EQ(readWholeFile(path).value_or(QByteArray()), bytes);

    const QString missingFolder = dir.filePath(QStringLiteral("nicht/da/x.cnc"));
    const SaveResult failed = SaveFile(missingFolder, Program{}, MachineType::Mark4);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, "Datei kann nicht geschrieben werden " + missingFolder
                                  + QString::fromUtf8("\r\nStellen Sie sicher das die Diskette nicht schreibgeschützt ist.\r\n"));
    EXPECT_FALSE(QFile::exists(missingFolder));
}
