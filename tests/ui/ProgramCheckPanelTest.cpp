#include "ui/ListView.h"
#include "ui/MainWindow.h"
#include "ui/ProgramCheckPanel.h"

#include "files/ProgramText.h"
#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace quillon;
using namespace quillon::testing;

namespace {

const QString kHeader = QStringLiteral("    N` G`   X `    Z `  F`  H ");

// A Mark 4 program text: "%", the header, the rows, the unit line.
Program mark4Program(std::initializer_list<const char*> rows)
{
    QString text = QStringLiteral("%\r\n") + kHeader + QStringLiteral("\r\n");
    for (const char* r : rows)
        text += QString::fromLatin1(r) + QStringLiteral("\r\n");
    text += QStringLiteral("   M");
    const DecodeResult d = blnDecodeBuffer(text, MachineType::Mark4, Units::Metric);
    EXPECT_TRUE(d.accepted);
    return d.program;
}

class ProgramCheckPanelTest : public WindowTest {
protected:
    void SetUp() override { start(MachineType::Mark4); }

    QListWidget* findings() const { return w->findChild<QListWidget*>(QStringLiteral("lstCheck")); }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < findings()->count(); ++i)
            out << findings()->item(i)->text();
        return out;
    }
    void doubleClick(int item)
    {
        QListWidget* list = findings();
        const QPoint at = list->visualItemRect(list->item(item)).center();
        // A real double click: the first click, then the second press that
        // the platform reports as the double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

}  // namespace

TEST_F(ProgramCheckPanelTest, F7ListsTheFindingsAndADoubleClickGoesToTheRow)
{
    w->editor().replaceProgram(mark4Program({
                                   "    00 00  1250    200         ",
                                   "    01 01  8000-  2000 100     ",
                                   "    02 00  1000-   500         ",
                                   "    04 01   500-   800  50     ",
                               }),
                               false, QStringLiteral("welle"));
    QTest::keyClick(w.get(), Qt::Key_F7);
    QDockWidget* dock = w->findChild<QDockWidget*>(QStringLiteral("dockCheck"));
    ASSERT_TRUE(dock);
    WAIT_TRUE(dock->isVisible());
    EXPECT_EQ(lines(), QStringList({QStringLiteral("N01: X = 8000: Der maximalwert für diesen Parameter ist 5999"),
                                    QStringLiteral("N04: Zeilennummer nicht fortlaufend, erwartet N03"),
                                    QStringLiteral("Das Programm hat kein Programmende (M30)"),
                                    QStringLiteral("N00: Keine Maßangabe (G90/G91) vor der ersten Bewegung: die Werte gelten inkrementell"),
                                    QStringLiteral("N01: Vorschub bei stehender Spindel"), QStringLiteral("N04: Vorschub bei stehender Spindel")}));
    // A double click selects the row as a click in the program list would:
    // the form shows that line.
    EXPECT_EQ(w->editor().currentRow(), 1);
    doubleClick(1);
    WAIT_TRUE(w->editor().currentRow() == 4);
    EXPECT_TRUE(w->findChild<ListView*>(QStringLiteral("picList"))->hasFocus());
    // The whole-program finding has no row to go to.
    doubleClick(2);
    QTest::qWait(50);
    EXPECT_EQ(w->editor().currentRow(), 4);
}

// Rerun by F7 or by edits: a shown panel follows every change, so no line
// points at a row that has moved; a hidden one checks again when shown.
TEST_F(ProgramCheckPanelTest, ThePanelFollowsEditsAndAClosedOneComesBackChecked)
{
    w->editor().replaceProgram(mark4Program({"    00 90                      ", "    01 47                      ",
                                             "    02M30                      "}),
                               false, QStringLiteral("welle"));
    QTest::keyClick(w.get(), Qt::Key_F7);
    WAIT_TRUE(findings() && findings()->isVisible());
    EXPECT_EQ(lines(), QStringList({QStringLiteral("N01: Unbekannter Code G47 für die Mark 4 Drehmaschine")}));

    w->editor().programList().ListSetIndex(2);
    w->editor().cmdDelete_Click();
    WAIT_TRUE(lines() == QStringList({QStringLiteral("Keine Probleme gefunden.")}));

    QDockWidget* dock = w->findChild<QDockWidget*>(QStringLiteral("dockCheck"));
    dock->close();
    w->editor().replaceProgram(mark4Program({"    00 90                      "}), false, QStringLiteral("welle"));
    QTest::qWait(20);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Keine Probleme gefunden.")}));
    dock->show();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Das Programm hat kein Programmende (M30)")}));
}
