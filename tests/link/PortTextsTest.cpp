#include "link/CableInstructions.h"
#include "link/ComPort.h"
#include "link/PortError.h"
#include "link/PortMenuModel.h"
#include "link/ReceiveDisplay.h"

#include "QtPrinters.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

using namespace quillon;

TEST(ComPort, FixedNumbersAndPaths)
{
    struct Case {
        const char* value;
        int fixed;
        const char* device;
        const char* name;
    };
    const Case cases[] = {
        {"1", 1, "/dev/ttyS0", "1"},
        {"4", 4, "/dev/ttyS3", "4"},
        {" 2 ", 2, "/dev/ttyS1", "2"},
        {"", 1, "/dev/ttyS0", "1"},
        {"5", 0, "5", "5"},
        {"/dev/ttyUSB0", 0, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/tmp/link/a", 0, "/tmp/link/a", "/tmp/link/a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(fixedPortNumber(QString::fromLatin1(c.value)), c.fixed);
        EXPECT_EQ(comPortDevice(QString::fromLatin1(c.value)), QString::fromLatin1(c.device));
        EXPECT_EQ(comPortName(QString::fromLatin1(c.value)), QString::fromLatin1(c.name));
    }
}

TEST(PortError, ReportLinesAndReasons)
{
    const QString head = QStringLiteral(
        "Com Port 3 ist nicht verfügbar\r\n"
        "Bitte prüfen Sie das die Schnittstelle nicht belegt ist.\r\n"
        "Wählen Sie bei Bedarf eine andere Schnittstelle aus\r\n"
        "Das berichtete Problem ist:\r\n");
    EXPECT_EQ(strPortErrorReport("3", PortError::DeviceNotFound), head + "Invalid Port Number");
    EXPECT_EQ(strPortErrorReport("3", PortError::AlreadyOpen), head + "Port already open");
    EXPECT_EQ(strPortErrorReport("3", PortError::Read), head + "Error reading comm device");
    EXPECT_EQ(strPortErrorReport("3", PortError::NotOpen), head + "Operation valid only when the port is open");
    EXPECT_EQ(strPortErrorReport("3", PortError::UnsupportedSetting), head + "Could not set comm state");
    EXPECT_EQ(strPortErrorReport("3", PortError::ResourceGone),
              head + "The hardware is not available (locked by another device)\r\n"
                     "Die Verbindung zur Schnittstelle /dev/ttyS2 wurde unterbrochen.");
    // An unknown problem keeps the report, with an empty reason line.
    EXPECT_EQ(strPortErrorReport("3", PortError::Other), head);
    // Only a permission problem carries the access hint.
    EXPECT_EQ(strPortErrorReport("3", PortError::Permission, "HINT"),
              head + "The hardware is not available (locked by another device)\r\nHINT");
    EXPECT_EQ(strPortErrorReport("3", PortError::Read, "HINT"), head + "Error reading comm device");
    // A port another program holds says so, and sends nobody to a group.
    EXPECT_EQ(strPortErrorReport("3", PortError::Busy, "HINT"),
              head + "The hardware is not available (locked by another device)\r\n"
                     "Die Schnittstelle /dev/ttyS2 wird von einem anderen Programm benutzt.");

    EXPECT_TRUE(strPortErrorReport("/dev/ttyUSB1", PortError::Write).startsWith("Com Port /dev/ttyUSB1 ist nicht"));

    EXPECT_EQ(strPortErrorReason(8000), "Operation not valid while the port is opened");
    EXPECT_EQ(strPortErrorReason(8017), "");
    EXPECT_EQ(strPortErrorReason(8021), "Internal error retrieving device control block for the port");
    EXPECT_EQ(strPortErrorReason(7999), "");
    EXPECT_EQ(strPortErrorReason(8022), "");
}

TEST(PortError, PermissionHintNamesTheOwningGroup)
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    const QString tty = dir.filePath("ttyUSB0");
    QFile(tty).open(QIODevice::WriteOnly);
    const QByteArray path = QFile::encodeName(tty);
    const struct group* ttyGroup = ::getgrnam("tty");
    if (!ttyGroup || ::chown(path.constData(), ::getuid(), ttyGroup->gr_gid) != 0)
        GTEST_SKIP() << "cannot give a file to the group tty";
    struct Case {
        mode_t mode;
        QString hint;
    } cases[] = {
        {0660, "Für den Zugriff auf " + tty + " muss Ihr Benutzer Mitglied der Gruppe 'tty' sein "
               "(sudo usermod -aG tty $USER), danach neu anmelden."},
        // The group may not write it: membership would not help.
        {0640, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(::chmod(path.constData(), c.mode), 0);
        EXPECT_EQ(strPermissionHint(tty), c.hint);
    }
    // Root's group is no group to join; a missing device has none.
    EXPECT_EQ(strPermissionHint("/dev/null"), "");
    EXPECT_EQ(strPermissionHint("/nonexistent/tty"), "");
#else
    GTEST_SKIP();
#endif
}

TEST(ReceiveDisplay, KeepsLastLinesAndSpotsTheUnitLine)
{
    QString display;
    // A few characters at a time, as the line delivers them.
    const char* chunks[] = {"%", "\r\n  ", "  00 01", "  1250\r", "\n   ", "M", "\r"};
    QStringList seen;
    bool endedEarly = false;
    for (const char* chunk : chunks) {
        EXPECT_FALSE(endedEarly);
        appendReceivedChunk(display, QString::fromLatin1(chunk));
        seen << display;
        endedEarly = displayStartsWithUnitLine(display);
    }
    EXPECT_EQ(seen.at(3), "    00 01  1250\r");
    EXPECT_EQ(seen.at(4), "    00 01  1250\r\n   ");
    EXPECT_EQ(seen.at(5), "    00 01  1250\r\n   M");
    // Only the CR after the unit line shifts it to the front.
    EXPECT_EQ(display, "   M\r");
    EXPECT_TRUE(endedEarly);

    EXPECT_TRUE(displayStartsWithUnitLine("   \"\r"));
    // A unit line without its blanks (as Mark 2 sends it) is not one.
    EXPECT_FALSE(displayStartsWithUnitLine("M\r"));

    // A chunk with several whole lines drops only one line: the display lags.
    QString lagging = QStringLiteral("A\r");
    appendReceivedChunk(lagging, QStringLiteral("\nB\r\nC\r\n"));
    EXPECT_EQ(lagging, "B\r\nC\r\n");
}

TEST(PortMenuModel, FixedPortsDetectedPortsAndTypedPath)
{
    const std::vector<DetectedPort> detected = {
        {"/dev/ttyS0", "built-in"},
        {"/dev/ttyUSB0", "FT232R USB UART"},
        {"/dev/ttyACM0", ""},
    };
    PortMenuModel model;
    model.rebuild(detected, "3");
    const auto& e = model.entries();
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0].caption, "Com 1");
    EXPECT_EQ(e[3].caption, "Com 4");
    EXPECT_EQ(e[3].comPort, "4");
    // /dev/ttyS0 is "Com 1" already and is not listed twice.
    EXPECT_EQ(e[4].caption, "/dev/ttyUSB0 (FT232R USB UART)");
    EXPECT_EQ(e[4].comPort, "/dev/ttyUSB0");
    EXPECT_EQ(e[5].caption, "/dev/ttyACM0");
    EXPECT_EQ(e[6].kind, PortMenuEntry::Kind::TypePath);
    EXPECT_EQ(e[6].caption, "Gerätepfad eingeben...");
    EXPECT_EQ(model.checkedIndex(), 2);

    model.rebuild(detected, "/dev/ttyUSB0");
    EXPECT_EQ(model.checkedIndex(), 4);

    // A typed path that the system does not list (a pseudo-terminal) still
    // shows, checked, above the typing entry.
    model.rebuild(detected, "/tmp/pty/a");
    ASSERT_EQ(model.entries().size(), 8u);
    EXPECT_EQ(model.entries()[6].kind, PortMenuEntry::Kind::Current);
    EXPECT_EQ(model.entries()[6].comPort, "/tmp/pty/a");
    EXPECT_EQ(model.checkedIndex(), 6);

    model.rebuild({}, "");
    EXPECT_EQ(model.checkedIndex(), 0);
}

TEST(CableInstructions, PrintoutLines)
{
    const std::vector<PrintLine> lines = cablePrintLines();
    // Empty line, heading, empty line; then 12 blocks of 1, 4, 1, 2, 1, 1, 2,
    // 1, 4, 1, 1, 1 lines, each followed by an empty line.
    ASSERT_EQ(lines.size(), 3u + 20u + 12u);
    EXPECT_EQ(lines[1].text, strCableHeading());
    EXPECT_EQ(lines[1].pointSize, 14);
    EXPECT_EQ(lines[3].text, "Sie benötigen folgendes:");
    EXPECT_EQ(lines[3].pointSize, 12);
    EXPECT_EQ(lines[4].text, "");
    EXPECT_EQ(lines[5].text, "1. Ein Stück geschirmtes 4-adriges Kabel");
    EXPECT_EQ(lines[6].text, "      (es kann bis zu 15 Meter lang sein).");
    EXPECT_EQ(lines[9].text, "");  // the block's trailing line break adds no line
    EXPECT_EQ(lines[lines.size() - 2].text, "Testen Sie das Kabel indem Sie Quillon benutzen.");
    EXPECT_EQ(lines.back().text, "");
    int empty = 0;
    for (const PrintLine& line : lines)
        empty += line.text.isEmpty() ? 1 : 0;
    EXPECT_EQ(empty, 2 + 12);
}
