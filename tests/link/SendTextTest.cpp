#include "link/SendText.h"
#include "model/MachineProfile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

QByteArray nuls(int count)
{
    return QByteArray(count, '\0');
}

ProgramRow makeRow(MachineType machine, const QString& n, const QString& g, const QString& x, const QString& y,
                   const QString& z, const QString& f, const QString& h, const QString& comment)
{
    const ColumnNumbers& c = machineProfile(machine).columns;
    ProgramRow row;
    row.setColumn(c.mark, QStringLiteral(" "));
    row.setColumn(c.n, n);
    row.setColumn(c.g, g);
    row.setColumn(c.x, x);
    if (c.y)
        row.setColumn(c.y, y);
    row.setColumn(c.z, z);
    row.setColumn(c.f, f);
    if (c.h)
        row.setColumn(c.h, h);
    row.setColumn(c.comment, comment);
    return row;
}

struct SendCase {
    const char* name;
    MachineType machine;
    Units units;
    QByteArray body;  // between the leader and the trailer
};

}  // namespace

TEST(SendText, ExactBytesPerMachine)
{
    Program mill;
    mill.description = QStringLiteral("Deckel fräsen\r\nzweite Zeile");
    mill.rows.push_back(makeRow(MachineType::F1, " 00", " 00", "   100", "  200", "  -300", "  50", "", "Anfahren"));
    mill.rows.push_back(makeRow(MachineType::F1, " 01", "M03", "      ", "     ", "      ", "    ", "", ""));

    Program mark4;
    mark4.description = QStringLiteral("Welle");
    mark4.rows.push_back(
        makeRow(MachineType::Mark4, " 00", " 01", "  1250", "", "-   500", " 100", "  50", "Schlichten"));

    Program mark2;
    mark2.rows.push_back(makeRow(MachineType::Mark2, " 00", " 01", "  1250", "", "-   500", " 100", "", "Kommentar"));
    mark2.rows.push_back(makeRow(MachineType::Mark2, "100", "M30", " -2000", "", "   1234", "  80", "", ""));

    const SendCase cases[] = {
        {"mill metric", MachineType::F1, Units::Metric,
         "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n"
         "    00 00   100  200  -300  50\r\n"
         "    01M03                     \r\n"
         "   M\r\n"},
        {"mill inch", MachineType::F1, Units::Imperial,
         "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n"
         "    00 00   100  200  -300  50\r\n"
         "    01M03                     \r\n"
         "   \"\r\n"},
        {"mark 4", MachineType::Mark4, Units::Metric,
         "%\r\n    N` G`   X `    Z `  F`  H \r\n"
         "    00 01  1250-   500 100  50\r\n"
         "   M\r\n"},
        // Mark 2 cuts N, G, X, Z, F to their last 2, 2, 5, 6, 3 characters
        // and its unit line has no leading blanks.
        {"mark 2", MachineType::Mark2, Units::Metric,
         "%\r\n"
         "   N00 G01 X 1250 Z   500 F100\r\n"
         "   N00 G30 X-2000 Z  1234 F 80\r\n"
         "M\r\n"},
        {"mark 2 inch", MachineType::Mark2, Units::Imperial,
         "%\r\n"
         "   N00 G01 X 1250 Z   500 F100\r\n"
         "   N00 G30 X-2000 Z  1234 F 80\r\n"
         "\"\r\n"},
    };
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.name);
        Program program = c.machine == MachineType::F1 ? mill : c.machine == MachineType::Mark4 ? mark4 : mark2;
        program.units = c.units;
        const QByteArray expected = nuls(100) + c.body + nuls(10);
        EXPECT_EQ(sendText(program, c.machine), expected);
    }
}

TEST(SendText, EmptyProgramStillCarriesFrame)
{
    Program empty;
    EXPECT_EQ(sendText(empty, MachineType::F1), nuls(100) + "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n   M\r\n" + nuls(10));
    EXPECT_EQ(sendText(empty, MachineType::Mark4), nuls(100) + "%\r\n    N` G`   X `    Z `  F`  H \r\n   M\r\n" + nuls(10));
    EXPECT_EQ(sendText(empty, MachineType::Mark2), nuls(100) + "%\r\nM\r\n" + nuls(10));
}

TEST(SendText, EstimateTexts)
{
    const QString prefix = QStringLiteral("Fortschritt: (vorrausichtliche Zeit für das senden ist ");
    struct Case {
        int rows;
        QString settings;
        int seconds;
        QString text;
    };
    const Case cases[] = {
        // 151 characters of frame at 10 bits and 300 baud.
        {0, QStringLiteral("300,e,7,1"), 5, prefix + "5 sekunde"},
        {100, QStringLiteral("300,e,7,1"), 111, prefix + "1 min 51 sekunde"},
        {1, QStringLiteral("300,e,7,1"), 6, prefix + "6 sekunde"},
        // 13 rows: 567 characters, 18.9 s rounds down.
        {13, QStringLiteral("300,e,7,1"), 18, prefix + "18 sekunde"},
        {52, QStringLiteral("300,e,7,1"), 60, prefix + "1 min 0 sekunde"},
        // No parity is one bit less: 151 characters at 9 bits, 1200 baud.
        {0, QStringLiteral("1200,n,7,1"), 1, prefix + "1 Sekunde)"},
        {0, QStringLiteral("1200,N,8,1"), 1, prefix + "1 Sekunde)"},
        {222, QStringLiteral("300,e,7,1"), 241, prefix + "4 min 1 Sekunde)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        EXPECT_EQ(sendEstimateSeconds(c.rows, c.settings), c.seconds);
        EXPECT_EQ(strSendEstimate(c.rows, c.settings), c.text);
    }
    EXPECT_EQ(strSendEstimate(0), prefix + "5 sekunde");
}
