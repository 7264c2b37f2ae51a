#include "editing/Editor.h"
#include "editing/FileCommands.h"
#include "shell/RecentFiles.h"
#include "shell/Settings.h"

#include "FakeEditorView.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <memory>

using namespace quillon;

namespace {

// Scripted boxes and dialog answers; records what was asked.
class FakeHost : public FileCommandsHost {
public:
    struct Box {
        QString message;
        int style;
        QString title;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::deque<QString> files;  // the paths the dialog returns, "" = cancel
    std::vector<QString> dialogTitles;
    std::vector<QString> dialogFolders;
    bool tickNotice = false;
    int notices = 0;
    int stateOff = 0, stateOn = 0;
    QString win = QStringLiteral("100,200,9600,7200");

    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        boxes.push_back({message, style, title});
        if (answers.empty())
            return style == 292 ? 7 : 1;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    QString chooseFile(const QString& title, bool, const QString& folder) override
    {
        dialogTitles.push_back(title);
        dialogFolders.push_back(folder);
        if (files.empty())
            return QString();
        QString f = files.front();
        files.pop_front();
        return f;
    }
    bool showOpenNotice() override
    {
        ++notices;
        return tickNotice;
    }
    void commandState(bool enabled) override { ++(enabled ? stateOn : stateOff); }
    QString winSetting() const override { return win; }
};

QByteArray dataFile(const char* name)
{
    QFile f(QString::fromLocal8Bit(qgetenv("QUILLON_TEST_DATA")) + QLatin1Char('/') + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

class FileCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeEditorView view;
    FakeHost host;
    std::unique_ptr<Settings> settings;
    RecentFiles recent;
    std::unique_ptr<Editor> ed;
    std::unique_ptr<FileCommands> files;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("home"));
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("quillon.ini")), dir.filePath(QStringLiteral("prog")));
        ed = std::make_unique<Editor>(view, MachineType::Mark4, false, Units::Metric);
        ed->programList().ListInit(12, 16);
        ed->gcodeList().ListInit(15, 16);
        ed->mcodeList().ListInit(10, 16);
        ed->loadCodeLists();
        files = std::make_unique<FileCommands>(*ed, host, *settings, recent, dir.filePath(QStringLiteral("home")));
        ASSERT_TRUE(files->NewFile());
    }
    QString put(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const QString title = machineProfile(MachineType::Mark4).title;
};

TEST_F(FileCommandsTest, OpenAsksReadsListsAndShowsTheNoticeUntilItIsTurnedOff)
{
    const QString welle = put("welle.cnc", dataFile("mark4-welle.cnc"));
    ed->setModified(true);
    host.files = {welle};
    files->OpenFile();  // No to the question: nothing happens, no dialog
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].message, QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n"
                                                    "Sind Sie sicher das Sie ein anderes Programm öffnen wollen?"));
    EXPECT_TRUE(host.dialogTitles.empty());
    EXPECT_TRUE(ed->modified());
    EXPECT_EQ(view.caption, title + QStringLiteral(" (unbenannt)"));

    host.answers = {6};
    host.tickNotice = true;
    files->OpenFile();
    ASSERT_EQ(host.dialogTitles.size(), 1u);
    EXPECT_EQ(host.dialogTitles[0], QStringLiteral("Datei auswählen"));
    // FilePath's folder is missing on a fresh installation: the home folder.
    EXPECT_EQ(host.dialogFolders[0], dir.filePath(QStringLiteral("home")));
    EXPECT_EQ(host.stateOff, 1);
    EXPECT_EQ(host.stateOn, 1);
    EXPECT_EQ(files->fileName(), welle);
    EXPECT_EQ(view.caption, title + QStringLiteral(" (") + welle + QLatin1Char(')'));
    EXPECT_FALSE(ed->modified());
    EXPECT_GT(ed->rowCount(), 1);
    EXPECT_EQ(recent.tag(0), welle);
    EXPECT_EQ(host.notices, 1);
    EXPECT_FALSE(settings->warning());
    EXPECT_EQ(settings->fileFolder(), dir.path() + QLatin1Char('/'));

    // The next dialog starts where the last file was chosen; no more notice.
    host.files = {welle};
    files->OpenFile();
    EXPECT_EQ(host.dialogFolders[1], dir.path() + QLatin1Char('/'));
    EXPECT_EQ(host.notices, 1);

    // Saved again under another name, the bytes are the file's own.
    const QString copy = dir.filePath(QStringLiteral("copy.cnc"));
    host.files = {copy};
    files->SaveAs();
    EXPECT_EQ(bytesOf(copy), bytesOf(welle));
    EXPECT_EQ(files->fileName(), copy);
    EXPECT_EQ(recent.tag(0), copy);
    EXPECT_EQ(recent.tag(1), welle);
}

TEST_F(FileCommandsTest, MissingUnreadableAndRejectedFiles)
{
    ed->setModified(true);
    const QString missing = dir.filePath(QStringLiteral("fehlt.cnc"));
    EXPECT_FALSE(files->ReadFile(missing));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].message, QStringLiteral("Datei nicht gefunden ") + missing);
    EXPECT_EQ(host.boxes[0].title, QStringLiteral("Quillon - Datei öffnen"));
    EXPECT_TRUE(ed->modified());  // the program is untouched
    EXPECT_EQ(recent.count(), 0);

    // A folder named like a program exists but cannot be read as one.
    QDir(dir.path()).mkdir(QStringLiteral("ordner.cnc"));
    host.boxes.clear();
    EXPECT_FALSE(files->ReadFile(dir.filePath(QStringLiteral("ordner.cnc"))));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(ed->modified());
    EXPECT_EQ(ed->rowCount(), 1);

    // A mill program on the Mark 4: listed, refused, a new unnamed program.
    const QString mill = put("tasche.cnc", dataFile("f1-tasche.cnc"));
    host.boxes.clear();
    EXPECT_FALSE(files->ReadFile(mill));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, QStringLiteral("Dekodiere Daten"));
    EXPECT_EQ(recent.tag(0), mill);
    EXPECT_TRUE(files->fileName().isEmpty());
    EXPECT_EQ(view.caption, title + QStringLiteral(" (unbenannt)"));
    EXPECT_FALSE(ed->modified());
    EXPECT_EQ(ed->rowCount(), 1);
    EXPECT_EQ(host.notices, 0);
}

TEST_F(FileCommandsTest, SaveWritesNamedProgramsWithoutDialogAndKeepsStateOnFailure)
{
    host.files = {QString()};
    files->FileSaver();  // unnamed: asks; cancelled: nothing written
    ASSERT_EQ(host.dialogTitles.size(), 1u);
    EXPECT_EQ(host.dialogTitles[0], QStringLiteral("Datei zum speichern auswählen"));
    EXPECT_TRUE(files->fileName().isEmpty());

    const QString welle = put("welle.cnc", dataFile("mark4-welle.cnc"));
    ASSERT_TRUE(files->ReadFile(welle));
    ed->setModified(true);
    files->FileSaver();
    EXPECT_EQ(host.dialogTitles.size(), 1u);  // no dialog for a named program
    EXPECT_FALSE(ed->modified());
    EXPECT_EQ(bytesOf(welle), dataFile("mark4-welle.cnc"));

    files->SaveAs();  // always asks; cancelled leaves the program unnamed
    EXPECT_EQ(host.dialogTitles.size(), 2u);
    EXPECT_TRUE(files->fileName().isEmpty());

    // A folder that does not exist: the message, name and flag as they were.
    ASSERT_TRUE(files->ReadFile(welle));
    ed->setModified(true);
    recent.clear();
    const QString bad = dir.filePath(QStringLiteral("nicht/da.cnc"));
    host.files = {bad};
    host.boxes.clear();
    files->SaveAs();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, QStringLiteral("Speichere CNC Datei"));
    EXPECT_TRUE(host.boxes[0].message.startsWith(QStringLiteral("Datei kann nicht geschrieben werden ")));
    EXPECT_TRUE(ed->modified());
    EXPECT_EQ(recent.count(), 0);
    EXPECT_EQ(view.caption, title + QStringLiteral(" (") + welle + QLatin1Char(')'));
}

TEST_F(FileCommandsTest, ExitAsksThenWritesRecentFilesAndWin)
{
    const QString welle = put("welle.cnc", dataFile("mark4-welle.cnc"));
    ASSERT_TRUE(files->ReadFile(welle));
    ed->cmdDelete_Click();  // deleting is a change that must not be lost silently
    EXPECT_FALSE(files->ExitProg());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].message, QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n"
                                                    "Sind Sie sicher das Sie das Programm schließen wollen?"));
    EXPECT_EQ(settings->win(), QStringLiteral("none"));
    EXPECT_EQ(settings->mruFile(0), QStringLiteral("none"));
    host.answers = {6};
    EXPECT_TRUE(files->ExitProg());
    EXPECT_EQ(settings->win(), QStringLiteral("100,200,9600,7200"));
    EXPECT_EQ(settings->mruFile(0), welle);

    // Minimised: the last placement stays.
    host.win.clear();
    EXPECT_TRUE(files->ExitProg());
    EXPECT_EQ(settings->win(), QStringLiteral("100,200,9600,7200"));
}

TEST_F(FileCommandsTest, RecentFileAsksTheOpenQuestionFirst)
{
    const QString welle = put("welle.cnc", dataFile("mark4-welle.cnc"));
    ed->setModified(true);
    EXPECT_FALSE(files->openRecent(welle));
    EXPECT_TRUE(ed->modified());
    EXPECT_TRUE(files->fileName().isEmpty());
    host.answers = {6};
    EXPECT_TRUE(files->openRecent(welle));
    EXPECT_EQ(files->fileName(), welle);
}

}  // namespace
