// The application's own start: the command line's file, the machine change,
// the single instance, what the application object sets up, and the
// standard message box it shows.
#include "ui/ApplicationStart.h"
#include "ui/FontWarmup.h"
#include "ui/MainWindow.h"
#include "ui/QuillonApplication.h"
#include "ui/SingleInstance.h"
#include "ui/StdMessageBox.h"

#include "editing/Editor.h"
#include "editing/FileCommands.h"
#include "shell/ApplicationState.h"

#include "QtPrinters.h"
#include "WindowTestSupport.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocalServer>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QUuid>

#include <future>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

QString uniqueInstance()
{
    return QStringLiteral("quillon-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

}  // namespace

TEST(ApplicationStartTest, CommandLineFileHandedOverFilesAndTheMachineChange)
{
    QTemporaryDir dir;
    const QString ini = writeFile(dir.filePath("Quillon.ini"), "[Settings]\r\nType=4\r\nWarning=No\r\n");
    const QString welle = writeFile(dir.filePath("welle.cnc"), bytesOf(data("mark4-welle.cnc")));
    const QString kontur = writeFile(dir.filePath("kontur.cnc"), bytesOf(data("mark4-kontur.cnc")));
    const QString name = uniqueInstance();

    RecordingSink sink;
    ApplicationStart app(name, sink);
    ASSERT_EQ(app.start({QStringLiteral("--settings"), ini, welle}), -1);
    ASSERT_TRUE(app.window());
    EXPECT_EQ(app.window()->files().fileName(), welle);

    // A later start with a file, from another thread as a second process
    // would, hands it over and ends with 0.
    const auto startAgainWith = [&name](const QString& file) {
        std::future<int> later = std::async(std::launch::async, [&name, file]() {
            RecordingSink quiet;
            return ApplicationStart(name, quiet).start({file});
        });
        WAIT_TRUE(later.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready);
        EXPECT_EQ(later.get(), 0);
    };
    // The running window asks about its unsaved work first, then opens the file.
    app.window()->editor().notesEdited(QStringLiteral("geändert"));
    sink.answers = {MsgResult::Yes};
    startAgainWith(kontur);
    WAIT_TRUE(app.window()->files().fileName() == kontur);
    EXPECT_EQ(sink.boxes.size(), 1u);

    // While lines are being copied a handed-over file waits, as Open does,
    // and opens once copying has ended.
    app.window()->editor().CopyLines();
    startAgainWith(welle);
    QTest::qWait(600);
    EXPECT_EQ(app.window()->files().fileName(), kontur);
    EXPECT_TRUE(app.window()->editor().flags().copyMode);
    app.window()->editor().cmdCancel_Click();
    WAIT_TRUE(app.window()->files().fileName() == welle);
    EXPECT_EQ(app.state()->recentFiles().tags(), (QStringList{welle, kontur}));

    // A machine change asks about unsaved work; No keeps machine and window.
    QPointer<MainWindow> before = app.window();
    before->setMachineChooser([](MachineType, bool) { return std::optional<MachineSetting>({MachineType::F1, true}); });
    before->editor().notesEdited(QStringLiteral("wieder geändert"));
    child<QAction>(before.data(), "mnuFmachine")->trigger();
    EXPECT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(app.state()->settings().type(), QStringLiteral("4"));
    // Yes: a new window with a new program; the file of the command line is
    // not read again (under the F1 it would be refused) and the recent files
    // keep their order.
    sink.answers = {MsgResult::Yes};
    child<QAction>(before.data(), "mnuFmachine")->trigger();
    WAIT_TRUE(before.isNull());
    ASSERT_TRUE(app.window());
    EXPECT_TRUE(app.state()->woodworker());
    EXPECT_EQ(app.state()->settings().type(), QStringLiteral("1"));
    EXPECT_EQ(app.window()->files().fileName(), QString());
    EXPECT_EQ(app.window()->editor().rowCount(), 1);
    EXPECT_EQ(sink.boxes.size(), 3u);
    EXPECT_EQ(app.state()->recentFiles().tags(), (QStringList{welle, kontur}));
}

TEST(ApplicationStartTest, SettingsThatCannotBeWrittenAreToldOnceWithTheirPath)
{
    QTemporaryDir dir;
    // A file where the settings folder should be: no write can succeed.
    const QString ini = writeFile(dir.filePath(QStringLiteral("kein-ordner")), "") + QStringLiteral("/Quillon.ini");
    RecordingSink sink;
    ApplicationStart app(uniqueInstance(), sink);
    ASSERT_EQ(app.start({QStringLiteral("--settings"), ini, QStringLiteral("4")}), -1);
    EXPECT_FALSE(app.state()->settings().setValue(QStringLiteral("Units"), QStringLiteral("imperial")));
    EXPECT_FALSE(app.state()->settings().setMachine(MachineType::Mark4, false));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].message, QStringLiteral("Die Einstellungen können nicht gespeichert werden ") + ini
                                         + QStringLiteral("\r\nQuillon arbeitet weiter, geänderte Einstellungen gelten "
                                                          "aber nur bis zum Programmende."));
}

TEST(ApplicationStartTest, AWindowSavedOffTheScreenOpensOnIt)
{
    QTemporaryDir dir;
    const QString ini = writeFile(dir.filePath("Quillon.ini"), "[Settings]\r\nType=1\r\nWarning=No\r\nWin=150000,-90000,9600,7200\r\n");
    RecordingSink sink;
    ApplicationStart app(uniqueInstance(), sink);
    ASSERT_EQ(app.start({QStringLiteral("--settings"), ini}), -1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = app.window()->geometry();
    EXPECT_TRUE(screen.contains(frame.topLeft())) << frame.x() << "," << frame.y();
    EXPECT_EQ(frame.size(), QSize(640, 480).boundedTo(screen.size()));
}

TEST(SingleInstanceTest, PrivateServerAndNoSilentEndWhenTheHandOverFails)
{
    // The server lies in a folder of this user alone.
    const QFileInfo folder(QFileInfo(SingleInstance::defaultName()).path());
    EXPECT_TRUE(folder.isAbsolute()) << SingleInstance::defaultName().toStdString();
    EXPECT_EQ(folder.ownerId(), ::getuid());
    EXPECT_EQ(int(folder.permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther
                                          | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup)), 0);

    // A server that takes the connection but never confirms does not end
    // the start: this instance listens in its place and serves later starts.
    const QString name = uniqueInstance();
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(name));
    SingleInstance first(name);
    EXPECT_FALSE(first.handOver(QStringLiteral("/tmp/x.cnc")));
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    std::future<bool> second = std::async(std::launch::async, [&]() {
        return SingleInstance(name).handOver(QString::fromUtf8("/tmp/Wörter mit\nZeile.cnc"));
    });
    WAIT_TRUE(second.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready);
    EXPECT_TRUE(second.get());
    // The server answers first and signals from the event loop after.
    WAIT_TRUE(opened.count() == 1);
    EXPECT_EQ(raised.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), QString::fromUtf8("/tmp/Wörter mit\nZeile.cnc"));
}

TEST(QuillonApplicationTest, GermanQtDialogsIconAndInfoOptionsWithoutAWindow)
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    // The icon comes with the first window's first frame, whichever window that is.
    box.show();
    WAIT_TRUE(!QApplication::windowIcon().isNull());
    box.hide();

    // --version and --help answer and end, with no display to start on.
    for (const auto& [option, output] : {std::pair{"--version", "quillon 1.0.21\n"},
                                         {"--help", "usage: quillon [--settings FILE] [PROGRAM.cnc] [1|2|4]\n"}}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QUILLON_GUI), {QString::fromLatin1(option)});
        ASSERT_TRUE(p.waitForFinished(10000)) << option;
        EXPECT_EQ(p.exitCode(), 0) << option;
        EXPECT_TRUE(p.readAllStandardOutput().startsWith(output)) << option;
    }
}

TEST(StdMessageBoxTest, HeldEnterIsWaitedForAndNeverRepeatsIntoTheWindowBelow)
{
    QLineEdit below;
    below.show();
    below.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&below));
    QSignalSpy returns(&below, &QLineEdit::returnPressed);

    // Enter closes the box on its press; while it is held its repeats reach
    // the window below, and only then is it let go.
    bool released = false;
    QTimer::singleShot(50, [&]() {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_TRUE(box);
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier);
        QTimer::singleShot(50, [&]() {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
            QApplication::sendEvent(&below, &repeat);
            QTimer::singleShot(50, [&]() {
                released = true;
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
                QApplication::sendEvent(&below, &release);
            });
        });
    });
    StdMessageBox messages;
    EXPECT_EQ(messages.intStdMsgBox(QStringLiteral("Wert zu groß"), MsgStyle::Exclamation, QStringLiteral("Test")),
              MsgResult::Ok);
    EXPECT_TRUE(released);
    EXPECT_EQ(returns.count(), 0);
}

int main(int argc, char** argv)
{
    // Started as the editor starts, font reading beside the display connection.
    FontWarmup fonts;
    QuillonApplication app(argc, argv);
    fonts.wait();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
