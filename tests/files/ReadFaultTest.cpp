// Files from anywhere: a huge program, one enormous line, a file of nothing
// but bytes above 127. Each is read without a crash and is accepted or
// rejected exactly as the format decides.
#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"

#include "QtPrinters.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

TEST(ReadFaults, HugeLongAndHighByteFilesAreReadWholeOrRejected)
{
    const QByteArray header = "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n";
    QByteArray big = "Gro\xdf\r\n" + header;
    int lines = 0;
    for (; big.size() < 10 * 1024 * 1024; ++lines) {
        big += "   " + QByteArray::number(lines % 1000).rightJustified(3, ' ') + " 01"
               + QByteArray::number(lines % 99999).rightJustified(6, ' ')
               + QByteArray::number(-(lines % 9999)).rightJustified(5, ' ') + "   -50 100 Zeile " + QByteArray::number(lines) + "\r\n";
    }
    big += "   \"\r\n";
    QByteArray comment(1024 * 1024, 'x');
    for (qsizetype i = 0; i < comment.size(); i += 1000)
        comment[i] = char(0xE4);  // ä, so the conversion is exercised along the line
    // Noise of high bytes only: no "%", no header, no N00, so no machine accepts it.
    QByteArray noise(512 * 1024, '\0');
    QRandomGenerator rng(1252);
    for (char& b : noise)
        b = char(128 + rng.bounded(128));
    QByteArray high;
    for (int b = 128; b < 256; ++b)
        high += char(b);

    struct Case { QByteArray bytes; MachineType machine; std::size_t rows; bool accepted; } cases[] = {
        // The line limit belongs to the editor; the format keeps every line.
        {big, MachineType::F1, std::size_t(lines), true},
        {header + "    00 01     0    0     0 100 " + comment + "\r\n   M\r\n", MachineType::F1, 1, true},
        // A text without "%" has no description; the whole noise is one row.
        {noise, MachineType::F1, 1, false},
        // Description and comments holding every byte from 128 to 255.
        {high + "\r\n%\r\n   N00 G00 X 1250 Z   200 F    " + high + "\r\n   N01 G01 X  100 Z-  500 F100 " + high.mid(64)
             + "\r\n   M\r\n", MachineType::Mark2, 2, true},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("prog.cnc"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(c.bytes) == c.bytes.size());
        f.close();
        SCOPED_TRACE(std::to_string(c.bytes.size()) + " bytes");
        const DecodeResult r = blnDecodeBuffer(decodeCp1252(readWholeFile(path).value_or(QByteArray())), c.machine, Units::Metric);
        EXPECT_EQ(r.accepted, c.accepted);
        EXPECT_EQ(r.program.rows.size(), c.rows);
        if (r.accepted) {
            EXPECT_EQ(programFileBytes(r.program, c.machine).value_or(QByteArray()), c.bytes);
        } else if (c.rows == 1) {
            EXPECT_TRUE(r.program.description.isEmpty());
        }
        if (c.rows == 2) {
            EXPECT_EQ(r.program.rows[0].column(7), decodeCp1252(high));
        }
    }
}
