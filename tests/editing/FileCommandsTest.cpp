#include "editing/Editor.h"
#include "editing/FileCommands.h"
#include "files/ProgramFile.h"
#include "shell/RecentFiles.h"
#include "shell/Settings.h"

#include "FakeEditorView.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace quillon;

namespace {

// Scripted boxes and dialog answers; records what was asked.
struct FakeHost : FileCommandsHost, BoxRecorder {
    std::deque<QString> files;  // the paths the dialog returns, "" = cancel
    std::vector<QString> dialogTitles, dialogFolders;
    bool tickNotice = false;
    int notices = 0;
    QString win = QStringLiteral("100,200,9600,7200");

    int intStdMsgBox(const QString& message, int style, const QString& title) override { return answer(message, style, title); }
    QString chooseFile(const QString& title, bool, const QString& folder) override
    {
        dialogTitles.push_back(title);
        dialogFolders.push_back(folder);
        const QString f = files.empty() ? QString() : files.front();
        if (!files.empty())
            files.pop_front();
        return f;
    }
    bool showOpenNotice() override { return ++notices, tickNotice; }
    void commandState(bool) override {}
    QString winSetting() const override { return win; }
};

const QString kTitle = QStringLiteral("Quillon CNC Programm Editor für EMCO CNC 5 MK-4");

class FileCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeEditorView view;
    FakeHost host;
    Settings settings{dir.filePath(QStringLiteral("quillon.ini")), dir.filePath(QStringLiteral("prog"))};
    RecentFiles recent;
    Editor ed{view, MachineType::Mark4, false, Units::Metric};
    FileCommands files{ed, host, settings, recent, dir.filePath(QStringLiteral("home"))};
    const QString data = QString::fromLocal8Bit(qgetenv("QUILLON_TEST_DATA"));
    const QByteArray welleBytes = readWholeFile(data + "/mark4-welle.cnc").value_or("");
    const QString welle = dir.filePath(QStringLiteral("welle.cnc"));

    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("home")));
        ASSERT_FALSE(welleBytes.isEmpty());
        ASSERT_TRUE(QFile::copy(data + "/mark4-welle.cnc", welle));
        ed.loadCodeLists();
        ASSERT_TRUE(files.NewFile());
    }
    QString caption(const QString& name) const { return kTitle + QStringLiteral(" (") + name + QLatin1Char(')'); }
};

}  // namespace

TEST_F(FileCommandsTest, OpenAsksReadsListsAndShowsTheNoticeUntilItIsTurnedOff)
{
    ed.setModified(true);
    host.files = {welle};
    files.OpenFile();  // No to the question: nothing happens, no dialog
    EXPECT_FALSE(files.openRecent(welle));
    ASSERT_EQ(host.boxes.size(), 2u);
    for (const auto& box : host.boxes)
        EXPECT_EQ(box.message, QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n"
                                              "Sind Sie sicher das Sie ein anderes Programm öffnen wollen?"));
    EXPECT_TRUE(host.dialogTitles.empty() && ed.modified());

    host.answers = {6};
    host.tickNotice = true;
    files.OpenFile();
    // FilePath's folder is missing on a fresh installation: the home folder.
    EXPECT_EQ(host.dialogTitles.at(0) + '|' + host.dialogFolders.at(0), "Datei auswählen|" + dir.filePath(QStringLiteral("home")));
    EXPECT_EQ(view.caption, caption(welle));
    EXPECT_FALSE(ed.modified() || settings.warning());
    EXPECT_EQ(recent.tag(0), welle);
    EXPECT_EQ(host.notices, 1);

    // The next dialog starts where the last file was chosen; no more notice.
    host.files = {welle};
    files.OpenFile();
    EXPECT_EQ(host.dialogFolders.at(1), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(host.notices, 1);
    // Saved again under another name, the bytes are the file's own.
    const QString copy = dir.filePath(QStringLiteral("copy.cnc"));
    host.files = {copy};
    files.SaveAs();
    EXPECT_EQ(readWholeFile(copy).value_or(""), welleBytes);
    EXPECT_EQ(files.fileName() + '|' + recent.tag(0) + '|' + recent.tag(1), copy + '|' + copy + '|' + welle);
}

TEST_F(FileCommandsTest, MissingUnreadableAndRejectedFiles)
{
    ed.setModified(true);
    const QString missing = dir.filePath(QStringLiteral("fehlt.cnc"));
    EXPECT_FALSE(files.ReadFile(missing));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.box(0), "Datei nicht gefunden " + missing + QStringLiteral("|Quillon - Datei öffnen"));
    EXPECT_TRUE(ed.modified());  // the program is untouched
    EXPECT_EQ(recent.count(), 0);

    // A mill program on the Mark 4: listed, refused, a new unnamed program.
    const QString mill = dir.filePath(QStringLiteral("tasche.cnc"));
    ASSERT_TRUE(QFile::copy(data + "/f1-tasche.cnc", mill));
    EXPECT_FALSE(files.ReadFile(mill));
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].title, QStringLiteral("Dekodiere Daten"));
    EXPECT_EQ(recent.tag(0), mill);
    EXPECT_EQ(view.caption, caption(QStringLiteral("unbenannt")));
    EXPECT_FALSE(ed.modified());
}

TEST_F(FileCommandsTest, SaveWritesNamedProgramsWithoutDialogAndKeepsStateOnFailure)
{
    host.files = {QString()};
    files.FileSaver();  // unnamed: asks; cancelled: nothing written
    EXPECT_EQ(host.dialogTitles, std::vector<QString>{QStringLiteral("Datei zum speichern auswählen")});

    ASSERT_TRUE(files.ReadFile(welle));
    ed.setModified(true);
    QFile::remove(welle);
    files.FileSaver();
    EXPECT_EQ(host.dialogTitles.size(), 1u);  // no dialog for a named program
    EXPECT_FALSE(ed.modified());
    EXPECT_EQ(readWholeFile(welle).value_or(""), welleBytes);
    files.SaveAs();  // always asks; cancelled leaves the program unnamed
    EXPECT_EQ(host.dialogTitles.size(), 2u);
    EXPECT_TRUE(files.fileName().isEmpty());

    // A folder that does not exist: the message, name and flag as they were.
    ASSERT_TRUE(files.ReadFile(welle));
    ed.setModified(true);
    recent.clear();
    host.files = {dir.filePath(QStringLiteral("nicht/da.cnc"))};
    files.SaveAs();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(host.box(0).startsWith(QStringLiteral("Datei kann nicht geschrieben werden ")));
    EXPECT_TRUE(host.box(0).endsWith(QStringLiteral("|Speichere CNC Datei")));
    EXPECT_TRUE(ed.modified());
    EXPECT_EQ(view.caption, caption(welle));
}

TEST_F(FileCommandsTest, ExitAsksThenWritesRecentFilesAndWin)
{
    ASSERT_TRUE(files.ReadFile(welle));
    ed.cmdDelete_Click();  // deleting is a change that must not be lost silently
    EXPECT_FALSE(files.ExitProg());
    EXPECT_EQ(host.box(0), QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n"
                                          "Sind Sie sicher das Sie das Programm schließen wollen?|Änderungen nicht gespeichert"));
    EXPECT_EQ(settings.win() + settings.mruFile(0), QStringLiteral("nonenone"));
    host.answers = {6};
    EXPECT_TRUE(files.ExitProg());
    EXPECT_EQ(settings.win() + '|' + settings.mruFile(0), "100,200,9600,7200|" + welle);
}
