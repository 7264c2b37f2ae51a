#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "model/ProgramLine.h"

#include "CliRun.h"
#include "QtPrinters.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

// The longest mill program the editor allows, with a two-line description
// and comments that need Windows-1252.
Program fullMillProgram()
{
    Program p;
    p.description = QStringLiteral("Tasche mit Insel\r\nGruppe B, Übung 3");
    for (int i = 0; i < 222; ++i) {
        const QString n = i > 99 ? QString::number(i) : QStringLiteral(" %1").arg(i, 2, 10, QLatin1Char('0'));
        const QString line = QStringLiteral("   %1 01%2%3%4 100 Schritt %5 Fräsen").arg(n).arg(i * 10, 6).arg(i * 5, 5).arg(-i, 6).arg(i);
        p.rows.push_back(parseProgramLine(line, false, MachineType::F1).row);
    }
    return p;
}

}  // namespace

TEST(PrintPdf, FullMillProgramPrintsEveryLineUnderAHeaderOnEveryPage)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/q-XXXXXX"));
    const QString cnc = dir.filePath(QStringLiteral("tasche.cnc"));
    const QString pdf = dir.filePath(QStringLiteral("tasche.pdf"));
    const Program program = fullMillProgram();
    ASSERT_TRUE(SaveFile(cnc, program, MachineType::F1).ok);

    const CliRun printed = cli({"print", "--machine", "f1", cnc, "--pdf", pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.text(), pdf + ": 4 pages\n");

    // A4 with 69 lines a page: 60 program lines below the first header and
    // the description, 65 below each further header, 32 and the unit line
    // on the last page.
    EXPECT_TRUE(toolOutput("pdfinfo", {pdf}).contains("(A4)"));
    // pdftotext rebuilds the spacing between words only roughly, so lines
    // are compared with their blanks folded. (How a long path is shortened
    // in the header is the listing's rule, tested there.)
    QStringList body, headers;
    for (const QString& line : toolOutput("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"}).split(QRegularExpression("[\n\f]")))
        if (line.trimmed().startsWith("Quillon "))
            headers << line.simplified().section(' ', -2);
        else if (!line.trimmed().isEmpty())
            body << line.simplified();
    EXPECT_EQ(headers, QStringList({"Seite 1", "Seite 2", "Seite 3", "Seite 4"}));

    QStringList expected;
    for (const QString& line : strFileOutBuff(program, MachineType::F1).split(QStringLiteral("\r\n")))
        expected << line.simplified();
    EXPECT_EQ(body, expected);
}

TEST(PrintPdf, RejectedFilesAndUnwritablePdfsFail)
{
    QTemporaryDir dir;
    const QString cnc = dir.filePath("welle.cnc");
    Program lathe;
    lathe.rows.push_back(parseProgramLine("    00 01  1250-   500 100  50", false, MachineType::Mark4).row);
    ASSERT_TRUE(SaveFile(cnc, lathe, MachineType::Mark4).ok);
    // A Mark 4 file is no mill program: no PDF is left behind.
    const QString pdf = dir.filePath("welle.pdf");
    EXPECT_EQ(cli({"print", "--machine", "1", cnc, "--pdf", pdf}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    // A PDF path that cannot be written is named with its reason; it is no
    // printer that is not ready.
    const QString unwritable = dir.filePath("fehlt/welle.pdf");
    const CliRun r = cli({"print", "--machine", "4", cnc, "--pdf", unwritable});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith("cannot write " + unwritable.toUtf8() + ": No such file or directory\n")) << r.err.toStdString();
    EXPECT_EQ(cli({"print", "--machine", "4", cnc}).exitCode, 2);
    // A quillon-cli whose drawing helper is missing says so and fails.
    const QString alone = dir.filePath("quillon-cli");
    ASSERT_TRUE(QFile::copy(QUILLON_CLI, alone));
    const CliRun helperless = cli({"print", "--machine", "4", cnc, "--pdf", pdf}, alone);
    EXPECT_EQ(helperless.exitCode, 1);
    EXPECT_EQ(helperless.err, "quillon-cli: cannot start quillon-cli-draw: not found\n");
}
