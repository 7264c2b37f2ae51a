#include "CliRun.h"
#include "QtPrinters.h"
#include "SvgScan.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using namespace quillon::testing;

TEST(PreviewCli, WritesTheDrawingAndExitsLikeTheOtherCommands)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("welle.svg");
    CliRun r = cli({"preview", "--machine", "4", data("mark4-welle.cnc"), "--svg", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(out.toUtf8() + ": ")) << r.out.toStdString();
    const QByteArray svg = bytesOf(out);
    ASSERT_TRUE(svg.startsWith("<?xml")) << svg.left(80).toStdString();
    // The mill's two views.
    const QString top = dir.filePath("top.svg");
    const QString side = dir.filePath("side.svg");
    EXPECT_EQ(cli({"preview", "--machine", "f1", data("f1-tasche.cnc"), "--svg", top}).exitCode, 0);
    EXPECT_EQ(cli({"preview", "--machine", "f1", data("f1-tasche.cnc"), "--svg", side, "--view", "side"}).exitCode, 0);
    EXPECT_TRUE(svgscan::allText(svgscan::scan(bytesOf(top))).contains("inch"));
    EXPECT_NE(bytesOf(top), bytesOf(side));
    // A file the machine's decoder rejects: exit 1 and no drawing.
    const QString rejected = dir.filePath("rejected.svg");
    EXPECT_EQ(cli({"preview", "--machine", "2", data("f1-tasche.cnc"), "--svg", rejected}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(rejected));
    // An OUT that cannot be written: exit 1 with the reason.
    r = cli({"preview", "--machine", "4", data("mark4-welle.cnc"), "--svg", dir.filePath("no/such/dir/x.svg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("x.svg")) << r.err.toStdString();
    // Usage errors exit 2: no --svg, a view for a lathe, a missing file.
    EXPECT_EQ(cli({"preview", "--machine", "4", data("mark4-welle.cnc")}).exitCode, 2);
    r = cli({"preview", "--machine", "4", data("mark4-welle.cnc"), "--svg", top, "--view", "side"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--view")) << r.err.toStdString();
    EXPECT_EQ(cli({"preview", "--machine", "4", "/nonexistent/x.cnc", "--svg", top}).exitCode, 2);

    // A program the walk cannot finish is still drawn, the reason on standard
    // error with the row, and that is no failure.
    const QString stops = writeBytes(dir.filePath("sprung.cnc"), "%\r\n    N` G`   X `    Z `  F`  H \r\n    00 90                      \r\n"
                                                                 "    01 00  1000    200         \r\n    02 01  1000-  1000 100     \r\n"
                                                                 "    03 27              45      \r\n    04M30                      \r\n   M\r\n");
    const QString stopped = dir.filePath("sprung.svg");
    r = cli({"preview", "--machine", "4", stops, "--svg", stopped});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(": 2 moves")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(stops.toUtf8() + ": stopped: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(" ist nicht vorhanden: 03 27")) << r.err.toStdString();
    EXPECT_TRUE(bytesOf(stopped).startsWith("<?xml"));
}

}  // namespace
}  // namespace quillon
