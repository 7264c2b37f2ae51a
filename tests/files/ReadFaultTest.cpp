// Files from anywhere: a huge program, one enormous line, a file of nothing
// but bytes above 127. Each is read in bounded time, without a crash, and is
// accepted or rejected exactly as the format decides, both by the decoder
// and by `quillon-cli check`.
#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"

#include "QtPrinters.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Far above what the decoder needs even in the sanitizer build; only a hang
// or a quadratic blow-up reaches it.
constexpr int kReadLimitMs = 60000;

const QByteArray kMillHeader = "    N` G`  X  `  Y `   Z ` F  ";

class ReadFaults : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString put(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path;
    }
    // What `quillon-cli check` prints, and its exit code after a blank.
    static QByteArray cliCheck(const char* machine, const QString& path)
    {
        QProcess p;
        p.start(QStringLiteral(QUILLON_CLI), {QStringLiteral("check"), QStringLiteral("--machine"), QLatin1String(machine), path});
        EXPECT_TRUE(p.waitForFinished(kReadLimitMs)) << "quillon-cli check did not end for " << path.toStdString();
        return p.readAllStandardOutput() + ' ' + QByteArray::number(p.exitCode());
    }
    static DecodeResult readTimed(const QString& path, MachineType machine)
    {
        QElapsedTimer timer;
        timer.start();
        const std::optional<QByteArray> bytes = readWholeFile(path);
        EXPECT_TRUE(bytes.has_value());
        DecodeResult r = blnDecodeBuffer(decodeCp1252(bytes.value_or(QByteArray())), machine, Units::Metric);
        EXPECT_LT(timer.elapsed(), kReadLimitMs) << path.toStdString();
        return r;
    }
};

}  // namespace

TEST_F(ReadFaults, TenMegabyteProgramIsReadWhole)
{
    QByteArray bytes = "Gro\xdf\r\n%\r\n" + kMillHeader + "\r\n";
    int lines = 0;
    for (; bytes.size() < 10 * 1024 * 1024; ++lines) {
        bytes += "   " + QByteArray::number(lines % 1000).rightJustified(3, ' ') + " 01"
                 + QByteArray::number(lines % 99999).rightJustified(6, ' ')
                 + QByteArray::number(-(lines % 9999)).rightJustified(5, ' ') + "   -50 100 Zeile "
                 + QByteArray::number(lines) + "\r\n";
    }
    bytes += "   \"\r\n";
    const QString path = put("big.cnc", bytes);

    const DecodeResult r = readTimed(path, MachineType::F1);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    // The line limit belongs to the editor; the format keeps every line.
    ASSERT_EQ(r.program.rows.size(), std::size_t(lines));
    EXPECT_EQ(r.program.units, Units::Imperial);
    EXPECT_EQ(r.program.rows.back().column(8), QStringLiteral("Zeile %1").arg(lines - 1));
    EXPECT_EQ(r.program.rows[12345].column(4), QStringLiteral(" 12345"));
    EXPECT_EQ(programFileBytes(r.program, MachineType::F1).value_or(QByteArray()), bytes);
    EXPECT_EQ(cliCheck("1", path), path.toUtf8() + ": ok, " + QByteArray::number(lines) + " rows, imperial\n 0");
    // Under Mark 4 the mill header is foreign: rejected, however long.
    EXPECT_TRUE(cliCheck("4", path).startsWith(path.toUtf8() + ": rejected: "));
}

TEST_F(ReadFaults, OneMegabyteLineIsAFullCommentOrARejectedFile)
{
    QByteArray comment(1024 * 1024, 'x');
    for (qsizetype i = 0; i < comment.size(); i += 1000)
        comment[i] = char(0xE4);  // ä, so the conversion is exercised along the line
    const QByteArray program = "%\r\n" + kMillHeader + "\r\n    00 01     0    0     0 100 " + comment + "\r\n   M\r\n";
    const QString path = put("longline.cnc", program);

    const DecodeResult r = readTimed(path, MachineType::F1);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    ASSERT_EQ(r.program.rows.size(), 1u);
    EXPECT_EQ(r.program.rows[0].column(8), decodeCp1252(comment));
    EXPECT_EQ(programFileBytes(r.program, MachineType::F1).value_or(QByteArray()), program);
    EXPECT_EQ(cliCheck("1", path), path.toUtf8() + ": ok, 1 rows, metric\n 0");

    // With LF line ends it is one single line, which carries no header:
    // rejected for the mill, and for the Mark 2 it lacks the N00 line.
    QByteArray lfOnly = program;
    const QString lfPath = put("lf.cnc", lfOnly.replace("\r\n", "\n"));
    EXPECT_FALSE(readTimed(lfPath, MachineType::F1).accepted);
    EXPECT_EQ(cliCheck("1", lfPath), lfPath.toUtf8() + ": rejected: Diese Datei kann nicht gelesen werden, Sie enth\xc3\xa4lt "
                                                       "kein CNC Programm f\xc3\xbcr F1 Fr\xc3\xa4smaschine\n 1");
    EXPECT_TRUE(cliCheck("2", lfPath).endsWith(" 1"));
}

TEST_F(ReadFaults, BytesAboveAsciiAreReadAsWindows1252)
{
    // Noise of high bytes only: no "%", no header, no N00, so no machine
    // accepts it, and nothing is lost on the way to that answer.
    QByteArray noise(512 * 1024, '\0');
    QRandomGenerator rng(1252);
    for (char& b : noise)
        b = char(128 + rng.bounded(128));
    const QString noisePath = put("noise.cnc", noise);
    for (const auto& [machine, name] : {std::pair{MachineType::F1, "1"}, {MachineType::Mark2, "2"}, {MachineType::Mark4, "4"}}) {
        SCOPED_TRACE(name);
        const DecodeResult r = readTimed(noisePath, machine);
        EXPECT_FALSE(r.accepted);
        EXPECT_FALSE(r.message.isEmpty());
        // A text without "%" has no description; the whole noise is one row.
        EXPECT_TRUE(r.program.description.isEmpty());
        EXPECT_EQ(r.program.rows.size(), 1u);
        const QByteArray c = cliCheck(name, noisePath);
        EXPECT_TRUE(c.startsWith(noisePath.toUtf8() + ": rejected: ") && c.endsWith(" 1"));
    }

    // A Mark 2 program whose description and comments hold every byte from
    // 128 to 255 is accepted and written back byte for byte.
    QByteArray high;
    for (int b = 128; b < 256; ++b)
        high += char(b);
    const QByteArray program = high + "\r\n%\r\n   N00 G00 X 1250 Z   200 F    " + high + "\r\n   N01 G01 X  100 Z-  500 F100 "
                               + high.mid(64) + "\r\n   M\r\n";
    const QString path = put("high.cnc", program);
    const DecodeResult r = readTimed(path, MachineType::Mark2);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    ASSERT_EQ(r.program.rows.size(), 2u);
    EXPECT_EQ(r.program.rows[0].column(7), decodeCp1252(high));
    EXPECT_EQ(programFileBytes(r.program, MachineType::Mark2).value_or(QByteArray()), program);
    EXPECT_EQ(cliCheck("2", path), path.toUtf8() + ": ok, 2 rows, metric\n 0");
}
