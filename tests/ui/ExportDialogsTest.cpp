#include "export/ExportFile.h"
#include "export/ExportMessages.h"
#include "export/ExportQuestions.h"
#include "ui/BilletDialog.h"
#include "ui/ExportCommand.h"
#include "ui/ExportDialogs.h"
#include "ui/ToolDialog.h"
#include "shell/Settings.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"
#include "export/LatheProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;


TEST(BilletDialog, OkOnlyForADiameterAboveZero)
{
    BilletDialog dialog;
    auto* txt = child<QLineEdit>(&dialog, "txtDiam");
    auto* ok = child<QPushButton>(&dialog, "cmdOk");
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmBillet"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export zu Spindra - Werkstückdurchmesser"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(ok->isEnabled());

    struct Case {
        const char* typed;
        const char* text;
        bool enabled;
    };
    const Case cases[] = {
        {"0", "0", false}, {".", ".", false}, {"0.0", "0.0", false}, {"30", "30", true},
        {".5", ".5", true}, {"a-1,5", "15", true}, {"x", "", false},
    };
    for (const Case& c : cases) {
        txt->clear();
        QTest::keyClicks(txt, QString::fromLatin1(c.typed));
        EXPECT_EQ(txt->text(), QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(ok->isEnabled(), c.enabled) << c.typed;
    }
    txt->clear();
    EXPECT_FALSE(ok->isEnabled());
}

TEST(BilletDialog, AskReturnsTheTextOrNothingOnCancel)
{
    const QString prompt = QStringLiteral("Bitte geben Sie den Werkstückdurchmesser ein (mm)");
    QString shownPrompt;
    ModalScript answer({[&](QWidget* d) {
        shownPrompt = child<QLabel>(d, "lblDiam")->text();
        QTest::keyClicks(child<QLineEdit>(d, "txtDiam"), QStringLiteral("32.5"));
        QTest::keyClick(child<QLineEdit>(d, "txtDiam"), Qt::Key_Return);
    }});
    EXPECT_EQ(BilletDialog::ask(nullptr, prompt), std::optional<QString>(QStringLiteral("32.5")));
    EXPECT_EQ(shownPrompt, prompt);

    ModalScript cancel({[](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }});
    EXPECT_EQ(BilletDialog::ask(nullptr, prompt), std::nullopt);
}

TEST(ToolDialog, ElevenToolsAndTheRememberedSpeed)
{
    ExportDialogs dialogs(nullptr);
    ToolDialog* tool = dialogs.toolDialog();
    auto* combo = child<QComboBox>(tool, "cboTool");
    auto* speed = child<QLineEdit>(tool, "txtSpeed");
    auto* ok = child<QPushButton>(tool, "cmdOk");
    EXPECT_EQ(tool->windowTitle(), QStringLiteral("Export zu Spindra - Werkzeug Auswahl"));
    ASSERT_EQ(combo->count(), 11);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Rechter Seitenstahl (1)"));
    EXPECT_EQ(combo->itemText(3), QStringLiteral("Gewindestahl außen (4)"));
    EXPECT_EQ(combo->itemText(10), QStringLiteral("Großer Bohrer (11)"));
    EXPECT_EQ(speed->text(), QStringLiteral("1000"));
    EXPECT_TRUE(ok->isEnabled());

    // The speed takes digits only, and OK needs a value above 0.
    speed->clear();
    QTest::keyClicks(speed, QStringLiteral("-12.5"));
    EXPECT_EQ(speed->text(), QStringLiteral("125"));
    speed->clear();
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(speed, QStringLiteral("0"));
    EXPECT_FALSE(ok->isEnabled());
    speed->setText(QStringLiteral("1000"));

    QString question;
    ModalScript first({[&](QWidget* d) {
        question = child<QLabel>(d, "lblDesc")->text();
        child<QComboBox>(d, "cboTool")->setCurrentIndex(8);
        auto* s = child<QLineEdit>(d, "txtSpeed");
        s->selectAll();
        QTest::keyClicks(s, QStringLiteral("1500"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    }});
    std::optional<ToolAnswer> a = dialogs.toolChoice(QStringLiteral("Frage 1"));
    ASSERT_TRUE(a);
    EXPECT_EQ(question, QStringLiteral("Frage 1"));
    EXPECT_EQ(a->tool, 9);
    EXPECT_EQ(a->speed, QStringLiteral("1500"));

    // Confirmed without a choice: the first tool, and the speed of last time.
    ModalScript second({[](QWidget* d) { QTest::keyClick(child<QLineEdit>(d, "txtSpeed"), Qt::Key_Return); }});
    a = dialogs.toolChoice(QStringLiteral("Frage 2"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->tool, 1);
    EXPECT_EQ(a->speed, QStringLiteral("1500"));
    EXPECT_EQ(dialogs.toolDialog(), tool);

    ModalScript cancel({[](QWidget* d) { QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton); }});
    EXPECT_EQ(dialogs.toolChoice(QStringLiteral("Frage 3")), std::nullopt);
}

TEST(ExportCommand, DialogsAnswerAndTheMessageNamesTheFile)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("Teil"));
    p.row("G90").row("M06", X(0), Z(0), letterF('T', 1)).row("G00", X(0), Z(200)).row("M30");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("teil.txt"));

    QWidget window;
    ExportDialogs dialogs(&window);
    QString title;
    QString text;
    ModalScript script({
        [](QWidget* d) {
            EXPECT_EQ(d->objectName(), QStringLiteral("frmBillet"));
            QTest::keyClicks(child<QLineEdit>(d, "txtDiam"), QStringLiteral("30"));
            QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        },
        [](QWidget* d) {
            EXPECT_EQ(d->objectName(), QStringLiteral("frmTool"));
            child<QComboBox>(d, "cboTool")->setCurrentIndex(1);
            QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        },
        [&](QWidget* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        },
    });
    EXPECT_TRUE(exportToFile(&window, dialogs, p.text(), p.machine(), path));
    EXPECT_EQ(script.handled(), 3u);
    EXPECT_EQ(title, QStringLiteral("Export komplett"));
    EXPECT_EQ(text, QStringLiteral("Die in das Spindra exportierte Datei hat folgenden Namen\r\n") + path);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), fileBytes({"%", "*Teil", "*Werkstück Durchmesser: 30 (mm)", "N10 T1", "N20 S1000",
                                         "N30 G0 X25 Z10", "N40 T2", "N50 S1000", "N60 G0 X0.00 Z2.00", "%"}));
}

TEST(ExportCommand, FailureIsToldAndTheMillIsRefused)
{
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("billet diam 20"));
    p.row("G27", {}, {}, letterF('L', 40)).row("M30");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("teil.txt"));
    ExportDialogs dialogs(nullptr);
    QString text;
    ModalScript script({[&](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Quillon"));
        text = box->text();
        box->accept();
    }});
    EXPECT_FALSE(exportToFile(nullptr, dialogs, p.text(), p.machine(), path));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\nEs wurde keine Datei geschrieben.")));
    EXPECT_FALSE(QFile::exists(path));

    // A "%" typed into the description is refused before a file name is
    // asked; the first dialog is the message.
    LatheProgram percent(MachineType::Mark4, Units::Metric, QStringLiteral("Alu 50% Rest"));
    percent.row("M30");
    ModalScript refused({[&](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->accept();
    }});
    EXPECT_EQ(runExportCommand(nullptr, dialogs, percent.text(), percent.machine(), dir.path()), std::nullopt);
    EXPECT_EQ(refused.handled(), 1u);
    EXPECT_EQ(text, QStringLiteral("Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten.\r\n"
                                   "Es wurde keine Datei geschrieben."));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // On the mill the command says why before any file name is asked.
    ModalScript mill({[&](QWidget* d) {
        text = qobject_cast<QMessageBox*>(d)->text();
        qobject_cast<QMessageBox*>(d)->accept();
    }});
    EXPECT_EQ(runExportCommand(nullptr, dialogs, QStringLiteral("%\r\n   M"), MachineType::F1, dir.path()),
              std::nullopt);
    EXPECT_EQ(text, QStringLiteral("Der Export zu Spindra ist nur für Programme der Drehmaschinen (Mark 2 und Mark 4) "
                                   "möglich. Es wurde keine Datei geschrieben."));
}

TEST(ExportCommand, OffersTheStoredFolderAndStoresTheChosenOne)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("alt"));
    QDir(dir.path()).mkdir(QStringLiteral("neu"));
    const Settings settings(dir.filePath(QStringLiteral("Quillon.ini")), dir.path());
    ASSERT_TRUE(settings.setValue(QString::fromLatin1(Settings::kExport), dir.filePath(QStringLiteral("alt")) + QLatin1Char('/')));
    LatheProgram p(MachineType::Mark4, Units::Metric, QStringLiteral("billet diam 20"));
    p.row("M30");
    const QString target = dir.filePath(QStringLiteral("neu/teil.txt"));

    QString offered;
    ExportDialogs dialogs(nullptr);
    ModalScript script({
        [&](QWidget* d) {
            auto* files = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(files, nullptr);
            offered = files->directory().absolutePath();
            files->selectFile(target);
            QMetaObject::invokeMethod(files, "accept");
        },
        [](QWidget* d) { qobject_cast<QMessageBox*>(d)->accept(); },
    });
    runExportCommand(nullptr, dialogs, p.text(), p.machine(), settings);
    EXPECT_EQ(script.handled(), 2u);
    EXPECT_EQ(offered, dir.filePath(QStringLiteral("alt")));
    EXPECT_EQ(settings.exportFolder(), dir.filePath(QStringLiteral("neu")) + QLatin1Char('/'));
    EXPECT_TRUE(QFile::exists(target));
}
