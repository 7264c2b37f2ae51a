// The bytes a send puts on the line, and the texts and choices of the ports.
#include "link/ComPort.h"
#include "link/PortError.h"
#include "link/ReceiveDisplay.h"
#include "link/SendText.h"

#include "QtPrinters.h"
#include "export/ProgramBuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

TEST(SendText, ExactBytesPerMachine)
{
    ProgramBuilder mill(MachineType::F1, Units::Metric, QStringLiteral("Deckel fräsen\r\nzweite Zeile"));
    mill.row("G00", "   100", "  -300", "  50", {}, "Anfahren", "  200").row("M03");
    ProgramBuilder mark4(MachineType::Mark4, Units::Metric, QStringLiteral("Welle"));
    mark4.row("G01", "  1250", "-   500", " 100", "  50", "Schlichten");
    ProgramBuilder mark2(MachineType::Mark2);
    mark2.row("G01", "  1250", "-   500", " 100", {}, "Kommentar").row("M30", " -2000", "   1234", "  80");
    mark2.program.rows[1].setColumn(machineProfile(MachineType::Mark2).columns.n, QStringLiteral("100"));
    const QByteArray nuls(100, '\0');
    const struct {
        const char* name;
        ProgramBuilder& program;
        Units units;
        QByteArray body;  // between the leader and the trailer
    } cases[] = {
        {"mill metric", mill, Units::Metric, "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n    00 00   100  200  -300  50\r\n    01M03                     \r\n   M\r\n"},
        {"mill inch", mill, Units::Imperial, "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n    00 00   100  200  -300  50\r\n    01M03                     \r\n   \"\r\n"},
        {"mark 4", mark4, Units::Metric, "%\r\n    N` G`   X `    Z `  F`  H \r\n    00 01  1250-   500 100  50\r\n   M\r\n"},
        // Mark 2 cuts N, G, X, Z, F to their last 2, 2, 5, 6, 3 characters and
        // its unit line has no leading blanks.
        {"mark 2", mark2, Units::Metric, "%\r\n   N00 G01 X 1250 Z   500 F100\r\n   N00 G30 X-2000 Z  1234 F 80\r\nM\r\n"},
        {"mark 2 inch", mark2, Units::Imperial, "%\r\n   N00 G01 X 1250 Z   500 F100\r\n   N00 G30 X-2000 Z  1234 F 80\r\n\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.program.program.units = c.units;
        EXPECT_EQ(sendText(c.program.program, c.program.machine()), nuls + c.body + QByteArray(10, '\0'));
    }
    // An empty program still carries the frame.
    EXPECT_EQ(sendText(Program{}, MachineType::F1), nuls + "%\r\n    N` G`  X  `  Y `   Z ` F  \r\n   M\r\n" + QByteArray(10, '\0'));
    EXPECT_EQ(sendText(Program{}, MachineType::Mark2), nuls + "%\r\nM\r\n" + QByteArray(10, '\0'));
}

TEST(SendText, EstimateTexts)
{
    const QString prefix = QStringLiteral("Fortschritt: (vorrausichtliche Zeit für das senden ist ");
    const struct { int rows; const char* settings; const char* text; } cases[] = {
        // 151 characters of frame at 10 bits and 300 baud; 13 rows: 567 characters, 18.9 s rounds down.
        {0, "300,e,7,1", "5 sekunde"}, {13, "300,e,7,1", "18 sekunde"}, {52, "300,e,7,1", "1 min 0 sekunde"},
        // No parity is one bit less: 151 characters at 9 bits, 1200 baud.
        {0, "1200,N,8,1", "1 Sekunde)"}, {222, "300,e,7,1", "4 min 1 Sekunde)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strSendEstimate(c.rows, c.settings), prefix + c.text) << c.rows;
    EXPECT_EQ(strSendEstimate(0), prefix + "5 sekunde");
}

TEST(ComPort, FixedNumbersAndPaths)
{
    const struct { const char* value; int fixed; const char* device; const char* name; } cases[] = {
        {"4", 4, "/dev/ttyS3", "4"}, {" 2 ", 2, "/dev/ttyS1", "2"}, {"", 1, "/dev/ttyS0", "1"}, {"5", 0, "5", "5"},
        {"/dev/ttyUSB0", 0, "/dev/ttyUSB0", "/dev/ttyUSB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(fixedPortNumber(c.value), c.fixed);
        EXPECT_EQ(comPortDevice(c.value), c.device);
        EXPECT_EQ(comPortName(c.value), c.name);
    }
}

TEST(PortError, ReportLinesAndReasons)
{
    const QString head = QStringLiteral("Com Port 3 ist nicht verfügbar\r\nBitte prüfen Sie das die Schnittstelle nicht belegt ist.\r\n"
                                        "Wählen Sie bei Bedarf eine andere Schnittstelle aus\r\nDas berichtete Problem ist:\r\n");
    const QString locked = QStringLiteral("The hardware is not available (locked by another device)\r\n");
    const struct { PortError error; const char* hint; QString reason; } cases[] = {
        {PortError::DeviceNotFound, "", "Invalid Port Number"},
        {PortError::AlreadyOpen, "", "Port already open"},
        {PortError::Read, "HINT", "Error reading comm device"},  // only a permission problem carries the hint
        {PortError::NotOpen, "", "Operation valid only when the port is open"},
        {PortError::UnsupportedSetting, "", "Could not set comm state"},
        {PortError::ResourceGone, "", locked + "Die Verbindung zur Schnittstelle /dev/ttyS2 wurde unterbrochen."},
        {PortError::Other, "", ""},  // an unknown problem keeps the report, with an empty reason line
        {PortError::Permission, "HINT", locked + "HINT"},
        // A port another program holds says so, and sends nobody to a group.
        {PortError::Busy, "HINT", locked + "Die Schnittstelle /dev/ttyS2 wird von einem anderen Programm benutzt."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strPortErrorReport("3", c.error, c.hint), head + c.reason) << int(c.error);
    EXPECT_EQ(strPortErrorReason(8021), "Internal error retrieving device control block for the port");
}

TEST(PortError, PermissionHintNamesTheOwningGroup)
{
    QTemporaryDir dir;
    const QString tty = dir.filePath("ttyUSB0");
    QFile(tty).open(QIODevice::WriteOnly);
    const QByteArray path = QFile::encodeName(tty);
    const struct group* ttyGroup = ::getgrnam("tty");
    if (!ttyGroup || ::chown(path.constData(), ::getuid(), ttyGroup->gr_gid) != 0)
        GTEST_SKIP() << "cannot give a file to the group tty";
    ASSERT_EQ(::chmod(path.constData(), 0660), 0);
    EXPECT_EQ(strPermissionHint(tty), "Für den Zugriff auf " + tty
                                          + " muss Ihr Benutzer Mitglied der Gruppe 'tty' sein (sudo usermod -aG tty $USER), danach neu anmelden.");
    // The group may not write it: membership would not help.
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    EXPECT_EQ(strPermissionHint(tty), "");
}

TEST(ReceiveDisplay, KeepsLastLinesAndSpotsTheUnitLine)
{
    QString display;
    // A few characters at a time, as the line delivers them.
    for (const char* chunk : {"%", "\r\n  ", "  00 01", "  1250\r", "\n   ", "M"})
        appendReceivedChunk(display, chunk);
    EXPECT_EQ(display, "    00 01  1250\r\n   M");
    EXPECT_FALSE(displayStartsWithUnitLine(display));
    appendReceivedChunk(display, "\r");
    // Only the CR after the unit line shifts it to the front.
    EXPECT_EQ(display, "   M\r");
    EXPECT_TRUE(displayStartsWithUnitLine(display));
    EXPECT_TRUE(displayStartsWithUnitLine("   \"\r"));
    // A unit line without its blanks (as Mark 2 sends it) is not one.
    EXPECT_FALSE(displayStartsWithUnitLine("M\r"));
}
