#include "model/ProgramLine.h"
#include "print/ListingRenderer.h"

#include "QtPrinters.h"

#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

namespace {


Program millProgram(int count)
{
    Program p;
    for (int i = 0; i < count; ++i)
        p.rows.push_back(parseProgramLine(QStringLiteral("   %1 01   100  200  -300 100 Zeile").arg(i, 3),
                                          false, MachineType::F1).row);
    return p;
}

const PrintStamp kStamp{QStringLiteral("06.12.2026"), QStringLiteral("09:05")};

}  // namespace

TEST(ListingRenderer, PrintFontIsCourierNewOrItsTwin)
{
    const QFont font = ListingRenderer::printFont();
    const QFontInfo info(font);
    EXPECT_TRUE(info.family() == "Courier New" || info.family() == "Liberation Mono") << info.family().toStdString();
    EXPECT_TRUE(info.fixedPitch());
    EXPECT_FALSE(info.bold());
    EXPECT_EQ(font.pointSize(), 10);
}

TEST(ListingRenderer, WritesEveryPageOfTheListing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.pdf"));
    QPdfWriter printer(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);

    // A4 at 10 point holds some sixty lines and eighty characters.
    const PrintPageSize size = ListingRenderer::pageSize(printer);
    EXPECT_GT(size.lines, 55);
    EXPECT_LT(size.lines, 75);
    EXPECT_GT(size.charsPerLine, 70);
    EXPECT_LT(size.charsPerLine, 100);

    const Program p = millProgram(150);
    const ListingRenderer::Result r = ListingRenderer::render(printer, p, MachineType::F1, QString(), kStamp);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.pages, int(buildPrintListing(p, MachineType::F1, QString(), kStamp, size).pages.size()));
    EXPECT_GE(r.pages, 3);

    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

TEST(ListingRenderer, AFailingPrinterIsReportedNotIgnored)
{
    QTemporaryDir dir;
    QPdfWriter printer(dir.filePath(QStringLiteral("fehlt/liste.pdf")));
    const ListingRenderer::Result r =
        ListingRenderer::render(printer, millProgram(3), MachineType::F1, QString(), kStamp);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Die Datei konnte nicht gedruckt werden."))) << r.message.toStdString();
}

// The application lives exactly as long as the tests, so its fonts and
// widgets are torn down before the process ends.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
