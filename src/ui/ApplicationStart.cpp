#include "ApplicationStart.h"

#include "MachineTypeDialog.h"
#include "MainWindow.h"
#include "QuillonApplication.h"
#include "ScreenFit.h"
#include "SingleInstance.h"
#include "SplashWindow.h"
#include "shell/AppIdentity.h"
#include "shell/ApplicationState.h"
#include "shell/ErrorReport.h"
#include "shell/MachineSelection.h"
#include "shell/MessageSink.h"
#include "shell/SettingsPath.h"
#include "shell/TraceScope.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <optional>
#include <exception>

namespace quillon {

namespace {

// How often a handed-over file waits for a dialog of the running window to close.
constexpr int kRetryMs = 200;

// Whether the settings file could be written: it can be opened for writing,
// or, while it does not exist yet, its folder can be made and written in.
bool isSettingsFileWritable(const QString& path)
{
    QFile file(path);
    if (file.exists())
        return file.open(QIODevice::ReadWrite);
    const QString folder = QFileInfo(path).absolutePath();
    return QDir().mkpath(folder) && isFolderWritable(folder);
}

}  // namespace

ApplicationStart::ApplicationStart(QString instanceName, MessageSink& messages, QuillonApplication* app)
    : m_instanceName(std::move(instanceName)), m_messages(messages), m_app(app)
{
}

ApplicationStart::~ApplicationStart()
{
    if (m_state)
        m_state->errorReport().setRecoveryHook({});
    if (m_app)
        m_app->setErrorReport(nullptr);
    m_window.reset();
    m_splash.reset();
    m_trace.reset();
}

int ApplicationStart::start(const QStringList& args)
{
    const CommandLine line = parseCommandLine(args);
    const QString programFile = line.programFile.isEmpty() ? QString() : QFileInfo(line.programFile).absoluteFilePath();

    m_instance = std::make_unique<SingleInstance>(m_instanceName);
    if (m_instance->handOver(programFile))
        return 0;  // the running instance comes forward with the file; no setting is touched

    try {
        m_state = std::make_unique<ApplicationState>(
            ApplicationState::resolvePaths(QCoreApplication::applicationDirPath(), args));
    } catch (const std::exception& e) {
        m_messages.intStdMsgBox(startupFailureMessage(0, QString::fromLocal8Bit(e.what())), MsgStyle::Critical,
                                applicationTitleWithVersion());
        return 1;
    }
    m_trace = std::make_unique<TraceScope>(m_state->logger(), "modQuillon", "Main");
    m_state->errorReport().setMessageSink(&m_messages);
    if (m_app)
        m_app->setErrorReport(&m_state->errorReport());

    m_state->settings().setWriteFailureHandler([this](const QString& path) { settingsNotWritten(path); });

    const MachineType fromStart = m_state->machineAtStart(args);
    std::optional<TraceScope> setMachineType;
    setMachineType.emplace(m_state->logger(), "modQuillon", "SetMachineType");
    if (fromStart == MachineType::None) {
        MachineTypeDialog dialog;
        const std::optional<MachineSetting> choice =
            askMachineType(dialog, MachineType::None, m_state->settings().woodworker());
        if (!choice)
            return 0;  // no machine, nothing written: the orderly end
        m_state->applyMachineChoice(*choice);
    } else {
        m_state->setMachine(fromStart);
    }
    setMachineType.reset();

    m_state->recentFiles().MRUGetFileList(m_state->settings());
    openWindow();
    // Made once the window is up: it serves the About box and is not shown at start.
    m_splash = std::make_unique<SplashWindow>();
    m_window->setSplash(m_splash.get());
    // A file named on the command line is read once, when the machine is
    // settled; a program of another machine is refused as Open refuses it.
    if (!programFile.isEmpty())
        m_window->openAtStart(programFile);
    // The error report ends the process; the program as it stands goes to a
    // recovery file beside the settings first.
    m_state->errorReport().setRecoveryHook([this]() { return m_window ? m_window->saveRecovery() : QString(); });
    connect(m_instance.get(), &SingleInstance::raiseRequested, this, &ApplicationStart::bringToFront);
    connect(m_instance.get(), &SingleInstance::openRequested, this, &ApplicationStart::openHandedOver);
    m_splash->setMachine(m_state->machine());
    m_splash->startTimer();
    return -1;
}

void ApplicationStart::settingsNotWritten(const QString& path)
{
    // A value the file cannot hold is refused on its own; only a file that
    // cannot be written at all is worth telling, and once is enough.
    if (m_settingsFailureTold || isSettingsFileWritable(path))
        return;
    m_settingsFailureTold = true;
    m_messages.intStdMsgBox(QStringLiteral("Die Einstellungen können nicht gespeichert werden ") + path
                                + QStringLiteral("\r\nQuillon arbeitet weiter, geänderte Einstellungen gelten aber "
                                                 "nur bis zum Programmende."),
                            MsgStyle::Exclamation, applicationTitle());
}

void ApplicationStart::openWindow()
{
    // The window is rebuilt when the machine changes: the new one is made
    // and shown before the old one closes, so the application never runs
    // without a window. A machine change starts a new program.
    auto next = std::make_unique<MainWindow>(*m_state, m_messages);
    if (m_splash)
        next->setSplash(m_splash.get());
    keepOnScreen(*next);
    connect(next.get(), &MainWindow::machineChangeRequested, next.get(), [this]() {
        QTimer::singleShot(0, this, [this]() {
            std::unique_ptr<MainWindow> old = std::move(m_window);
            openWindow();
            old->close();
            old.reset();
        });
    });
    next->show();
    next->editor().NewFile();
    m_window = std::move(next);
}

void ApplicationStart::bringToFront()
{
    if (!m_window)
        return;
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

void ApplicationStart::openHandedOver(const QString& path)
{
    // Not while a dialog of the window runs or the window is being replaced:
    // the file waits until the window takes commands again.
    // While lines are copied Open waits too, so the file does.
    if (!m_window || m_window->machineChanging() || QApplication::activeModalWidget()
        || m_window->editor().flags().copyMode) {
        QTimer::singleShot(kRetryMs, this, [this, path]() { openHandedOver(path); });
        return;
    }
    bringToFront();
    // The same way as Open: the unsaved-work question first, then the file.
    if (m_window->files().mayReplaceProgram())
        m_window->openAtStart(path);
    m_window->CommandState(true);
}

}  // namespace quillon
