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
const QByteArray kRejectedF1 = "Diese Datei kann nicht gelesen werden, Sie enth\xc3\xa4lt kein CNC Programm f\xc3\xbcr F1 Fr\xc3\xa4smaschine";

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_EQ(f.write(bytes), bytes.size());
    return path;
}

struct Check {
    int exitCode = -1;
    QByteArray out;
};

Check cliCheck(const QString& machine, const QString& path)
{
    QProcess p;
    p.start(QStringLiteral(QUILLON_CLI), {QStringLiteral("check"), QStringLiteral("--machine"), machine, path});
    EXPECT_TRUE(p.waitForFinished(kReadLimitMs)) << "quillon-cli check did not end for " << path.toStdString();
    return {p.exitCode(), p.readAllStandardOutput()};
}

DecodeResult readTimed(const QString& path, MachineType machine)
{
    QElapsedTimer timer;
    timer.start();
    const std::optional<QByteArray> bytes = readWholeFile(path);
    EXPECT_TRUE(bytes.has_value());
    DecodeResult r = blnDecodeBuffer(decodeCp1252(bytes.value_or(QByteArray())), machine, Units::Metric);
    EXPECT_LT(timer.elapsed(), kReadLimitMs) << path.toStdString();
    return r;
}

QByteArray millLine(int i)
{
    // "   " N code X Y Z F " " comment: 31 fixed characters and a comment.
    return QByteArray("   ") + QByteArray::number(i % 1000).rightJustified(3, ' ') + " 01"
           + QByteArray::number(i % 99999).rightJustified(6, ' ') + QByteArray::number(-(i % 9999)).rightJustified(5, ' ')
           + "   -50" + " 100" + " Zeile " + QByteArray::number(i);
}

}  // namespace

TEST(ReadFaults, TenMegabyteProgramIsReadWhole)
{
    QTemporaryDir dir;
    QByteArray bytes = "Gro\xdf\r\n%\r\n" + kMillHeader + "\r\n";
    int lines = 0;
    while (bytes.size() < 10 * 1024 * 1024) {
        bytes += millLine(lines) + "\r\n";
        ++lines;
    }
    bytes += "   \"\r\n";
    const QString path = writeFile(dir, "big.cnc", bytes);

    const DecodeResult r = readTimed(path, MachineType::F1);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    // The line limit belongs to the editor; the format keeps every line.
    ASSERT_EQ(r.program.rows.size(), std::size_t(lines));
    EXPECT_EQ(r.program.units, Units::Imperial);
    EXPECT_EQ(r.program.rows.back().column(8), QStringLiteral("Zeile %1").arg(lines - 1));
    EXPECT_EQ(r.program.rows[12345].column(4), QStringLiteral(" 12345"));
    // Written again it is the same file.
    EXPECT_EQ(programFileBytes(r.program, MachineType::F1).value_or(QByteArray()), bytes);

    const Check c = cliCheck(QStringLiteral("1"), path);
    EXPECT_EQ(c.exitCode, 0);
    EXPECT_EQ(c.out, path.toUtf8() + ": ok, " + QByteArray::number(lines) + " rows, imperial\n");

    // Under Mark 4 the mill header is foreign: rejected, however long.
    const Check foreign = cliCheck(QStringLiteral("4"), path);
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_TRUE(foreign.out.contains(": rejected: ")) << foreign.out.left(200).toStdString();
}

TEST(ReadFaults, OneMegabyteLineIsAFullCommentOrARejectedFile)
{
    QTemporaryDir dir;
    QByteArray comment(1024 * 1024, 'x');
    for (qsizetype i = 0; i < comment.size(); i += 1000)
        comment[i] = char(0xE4);  // ä, so the conversion is exercised along the line
    const QByteArray program = "%\r\n" + kMillHeader + "\r\n    00 01     0    0     0 100 " + comment + "\r\n   M\r\n";
    const QString path = writeFile(dir, "longline.cnc", program);

    const DecodeResult r = readTimed(path, MachineType::F1);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    ASSERT_EQ(r.program.rows.size(), 1u);
    EXPECT_EQ(r.program.rows[0].column(8), decodeCp1252(comment));
    EXPECT_EQ(programFileBytes(r.program, MachineType::F1).value_or(QByteArray()), program);
    EXPECT_EQ(cliCheck(QStringLiteral("1"), path).out, path.toUtf8() + ": ok, 1 rows, metric\n");

    // The same megabyte with LF line ends is one single line, which carries
    // no header: rejected for the mill, and for Mark 2 it lacks the N00 line.
    QByteArray lfOnly = program;
    lfOnly.replace("\r\n", "\n");
    const QString lfPath = writeFile(dir, "lf.cnc", lfOnly);
    EXPECT_FALSE(readTimed(lfPath, MachineType::F1).accepted);
    const Check c = cliCheck(QStringLiteral("1"), lfPath);
    EXPECT_EQ(c.exitCode, 1);
    EXPECT_EQ(c.out, lfPath.toUtf8() + ": rejected: " + kRejectedF1 + "\n");
    EXPECT_EQ(cliCheck(QStringLiteral("2"), lfPath).exitCode, 1);
}

TEST(ReadFaults, BytesAboveAsciiAreReadAsWindows1252)
{
    QTemporaryDir dir;
    // Noise of high bytes only: no "%", no header, no N00, so no machine
    // accepts it, and nothing is lost on the way to that answer.
    QByteArray noise(512 * 1024, '\0');
    QRandomGenerator rng(1252);
    for (char& b : noise)
        b = char(128 + rng.bounded(128));
    const QString noisePath = writeFile(dir, "noise.cnc", noise);
    for (const auto& [machine, name] : {std::pair{MachineType::F1, "1"}, {MachineType::Mark2, "2"}, {MachineType::Mark4, "4"}}) {
        const DecodeResult r = readTimed(noisePath, machine);
        EXPECT_FALSE(r.accepted) << name;
        EXPECT_FALSE(r.message.isEmpty()) << name;
        // A text without "%" has no description; the whole noise is one row.
        EXPECT_TRUE(r.program.description.isEmpty()) << name;
        ASSERT_EQ(r.program.rows.size(), 1u) << name;
        const Check c = cliCheck(QString::fromLatin1(name), noisePath);
        EXPECT_EQ(c.exitCode, 1) << name;
        EXPECT_TRUE(c.out.startsWith(noisePath.toUtf8() + ": rejected: ")) << name;
    }

    // A real Mark 2 program whose description and comments hold every byte
    // from 128 to 255 is accepted and written back byte for byte.
    QByteArray high;
    for (int b = 128; b < 256; ++b)
        high += char(b);
    const QByteArray program = high + "\r\n%\r\n   N00 G00 X 1250 Z   200 F    " + high + "\r\n   N01 G01 X  100 Z-  500 F100 "
                               + high.mid(64) + "\r\n   M\r\n";
    const QString path = writeFile(dir, "high.cnc", program);
    const DecodeResult r = readTimed(path, MachineType::Mark2);
    ASSERT_TRUE(r.accepted) << r.message.toStdString();
    ASSERT_EQ(r.program.rows.size(), 2u);
    EXPECT_EQ(r.program.rows[0].column(7), decodeCp1252(high));
    EXPECT_EQ(r.program.rows[0].column(7)[0x80 - 128], QChar(0x20AC));  // byte 0x80 is the euro sign
    EXPECT_EQ(r.program.rows[0].column(7)[0xFF - 128], QChar(0xFF));
    EXPECT_EQ(programFileBytes(r.program, MachineType::Mark2).value_or(QByteArray()), program);
    EXPECT_EQ(cliCheck(QStringLiteral("2"), path).out, path.toUtf8() + ": ok, 2 rows, metric\n");
}
