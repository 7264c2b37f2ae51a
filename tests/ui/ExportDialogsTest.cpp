#include "ui/BilletDialog.h"
#include "ui/ExportCommand.h"
#include "ui/ExportDialogs.h"
#include "ui/ToolDialog.h"
#include "shell/Settings.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"
#include "export/LatheProgram.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

using namespace quillon;
using namespace quillon::testing;

TEST(BilletDialog, OkOnlyForADiameterAboveZero)
{
    BilletDialog dialog;
    auto* txt = child<QLineEdit>(&dialog, "txtDiam");
    auto* ok = child<QPushButton>(&dialog, "cmdOk");
    EXPECT_FALSE(ok->isEnabled());
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"0.0", "0.0", false}, {".5", ".5", true}, {"a-1,5", "15", true}, {"x", "", false},
    };
    for (const auto& [typed, text, enabled] : cases) {
        txt->clear();
        QTest::keyClicks(txt, QString::fromLatin1(typed));
        EXPECT_EQ(txt->text(), QString::fromLatin1(text)) << typed;
        EXPECT_EQ(ok->isEnabled(), enabled) << typed;
    }
}

TEST(ToolDialog, ElevenToolsAndTheRememberedSpeed)
{
    ExportDialogs dialogs(nullptr);
    ToolDialog* tool = dialogs.toolDialog();
    auto* combo = child<QComboBox>(tool, "cboTool");
    auto* speed = child<QLineEdit>(tool, "txtSpeed");
    auto* ok = child<QPushButton>(tool, "cmdOk");
    ASSERT_EQ(combo->count(), 11);
    EXPECT_EQ(combo->itemText(3), QStringLiteral("Gewindestahl außen (4)"));
    EXPECT_EQ(speed->text(), QStringLiteral("1000"));
    // The speed takes digits only, and OK needs a value above 0.
    speed->clear();
    QTest::keyClicks(speed, QStringLiteral("-12.5"));
    EXPECT_EQ(speed->text(), QStringLiteral("125"));
    speed->setText(QStringLiteral("0"));
    EXPECT_FALSE(ok->isEnabled());

    ModalScript first({[&](QWidget* d) {
        child<QComboBox>(d, "cboTool")->setCurrentIndex(8);
        child<QLineEdit>(d, "txtSpeed")->selectAll();
        QTest::keyClicks(child<QLineEdit>(d, "txtSpeed"), QStringLiteral("1500"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    }});
    std::optional<ToolAnswer> a = dialogs.toolChoice(QStringLiteral("Frage 1"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->tool, 9);
    EXPECT_EQ(a->speed, QStringLiteral("1500"));

    // Confirmed without a choice: the first tool, and the speed of last time.
    ModalScript second({[](QWidget* d) { QTest::keyClick(child<QLineEdit>(d, "txtSpeed"), Qt::Key_Return); }});
    a = dialogs.toolChoice(QStringLiteral("Frage 2"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->tool, 1);
    EXPECT_EQ(a->speed, QStringLiteral("1500"));

    ModalScript cancel({[](QWidget* d) { QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton); }});
    EXPECT_EQ(dialogs.toolChoice(QStringLiteral("Frage 3")), std::nullopt);
}

// Refusals come before a file name is asked; a failed export is told and
// writes nothing; a done one names its file and stores its folder.
TEST(ExportCommand, RefusalsFailureCancelAndAnExportToTheChosenFolder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("alt"));
    QDir(dir.path()).mkdir(QStringLiteral("neu"));
    const Settings settings(dir.filePath(QStringLiteral("Quillon.ini")), dir.path());
    ASSERT_TRUE(settings.setValue(QString::fromLatin1(Settings::kExport), dir.filePath(QStringLiteral("alt/"))));
    QWidget window;
    ExportDialogs dialogs(&window);
    QString title, text;
    const auto told = [&title, &text](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    };

    LatheProgram percent(MachineType::Mark4, Units::Metric, QStringLiteral("Alu 50% Rest"));
    percent.row("M30");
    const std::pair<QString, MachineType> refused[] = {{percent.text(), MachineType::Mark4},
                                                        {QStringLiteral("%\r\n   M"), MachineType::F1}};
    const QString why[] = {QStringLiteral("Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten.\r\n"
                                          "Es wurde keine Datei geschrieben."),
                           QStringLiteral("Der Export zu Spindra ist nur für Programme der Drehmaschinen (Mark 2 und "
                                          "Mark 4) möglich. Es wurde keine Datei geschrieben.")};
    for (int i = 0; i < 2; ++i) {
        ModalScript script({told});
        runExportCommand(nullptr, dialogs, refused[i].first, refused[i].second, settings);
        EXPECT_EQ(script.handled(), 1u);
        EXPECT_EQ(text, why[i]);
    }

    const QString path = dir.filePath(QStringLiteral("teil.txt"));
    LatheProgram jump(MachineType::Mark4, Units::Metric, QStringLiteral("billet diam 20"));
    jump.row("G27", {}, {}, letterF('L', 40)).row("M30");
    {
        ModalScript script({told});
        EXPECT_FALSE(exportToFile(nullptr, dialogs, jump.text(), jump.machine(), path));
    }
    EXPECT_TRUE(text.startsWith(QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\nEs wurde keine Datei geschrieben.")));

    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Teil"));
    p.row("G90").row("M06", X(0), Z(0), letterF('T', 1)).row("G00", X(0), Z(200)).row("M30");
    {
        ModalScript script({[](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }});  // at the diameter
        EXPECT_FALSE(exportToFile(nullptr, dialogs, p.text(), p.machine(), path));
        EXPECT_EQ(script.handled(), 1u);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).filter(".txt").isEmpty());

    const QString target = dir.filePath(QStringLiteral("neu/teil.txt"));
    QString offered;
    ModalScript script({
        [&](QWidget* d) {
            auto* files = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(files, nullptr);
            offered = files->directory().absolutePath();
            // Typed, not selected: a focused name field ignores selectFile.
            files->setDirectory(QFileInfo(target).absolutePath());
            child<QLineEdit>(files, "fileNameEdit")->setText(QFileInfo(target).fileName());
            QMetaObject::invokeMethod(files, "accept");
        },
        [&](QWidget* d) {
            QTest::keyClicks(child<QLineEdit>(d, "txtDiam"), QStringLiteral("30"));
            QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        },
        [](QWidget* d) {
            child<QComboBox>(d, "cboTool")->setCurrentIndex(1);
            QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        },
        told,
    });
    runExportCommand(nullptr, dialogs, p.text(), p.machine(), settings);
    EXPECT_EQ(script.handled(), 4u);
    EXPECT_EQ(offered, dir.filePath(QStringLiteral("alt")));
    EXPECT_EQ(title, QStringLiteral("Export komplett"));
    EXPECT_EQ(text, QStringLiteral("Die in das Spindra exportierte Datei hat folgenden Namen\r\n") + target);
    EXPECT_EQ(settings.exportFolder(), dir.filePath(QStringLiteral("neu/")));
    EXPECT_EQ(bytesOf(target), fileBytes({"%", "*Teil", "*Werkstück Durchmesser: 30 (mm)", "N10 T1", "N20 S1000",
                                          "N30 G0 X25 Z10", "N40 T2", "N50 S1000", "N60 G0 X0.00 Z2.00", "%"}));
}
