#include "QuillonApplication.h"

#include "MachineTypeDialog.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "SplashWindow.h"
#include "StdMessageBox.h"
#include "shell/AppIdentity.h"
#include "shell/ApplicationState.h"
#include "shell/ErrorReport.h"
#include "shell/TraceScope.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace quillon {

QuillonApplication::QuillonApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(applicationTitle());
    setApplicationVersion(versionText());
}

bool QuillonApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_report)
            m_report->LogError(QStringLiteral("modQuillon"), receiver ? receiver->objectName() : QString(), 0,
                               QString::fromLocal8Bit(e.what()));
        else
            std::fprintf(stderr, "%s\n", e.what());
    }
    return false;
}

int Main(QuillonApplication& app)
{
    const QStringList args = app.arguments().mid(1);

    SingleInstance instance(SingleInstance::defaultName());
    if (instance.handOver())
        return 0;  // the running instance comes forward; no setting is touched

    std::unique_ptr<ApplicationState> state;
    StdMessageBox messages;
    try {
        state = std::make_unique<ApplicationState>(
            ApplicationState::resolvePaths(QCoreApplication::applicationDirPath(), args));
    } catch (const std::exception& e) {
        messages.intStdMsgBox(startupFailureMessage(0, QString::fromLocal8Bit(e.what())), MsgStyle::Critical,
                              applicationTitleWithVersion());
        return 1;
    }
    TraceScope trace(state->logger(), "modQuillon", "Main");
    state->errorReport().setMessageSink(&messages);
    app.setErrorReport(&state->errorReport());

    SplashWindow splash;

    const MachineType fromStart = state->machineAtStart(args);
    if (fromStart == MachineType::None) {
        MachineTypeDialog dialog;
        const std::optional<MachineSetting> choice =
            askMachineType(dialog, MachineType::None, state->settings().woodworker());
        if (!choice)
            return 0;  // no machine, nothing written: the orderly end
        state->applyMachineChoice(*choice);
    } else {
        state->setMachine(fromStart);
    }

    state->recentFiles().MRUGetFileList(state->settings());
    MainWindow window(*state, messages);
    window.setSplash(&splash);
    const MachineType machine = state->machine();
    // The error report ends the process; the program as it stands goes to a
    // recovery file beside the settings first.
    state->errorReport().setRecoveryHook([&window]() { return window.saveRecovery(); });
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, [&window]() {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.show();
    window.editor().NewFile();
    splash.setMachine(machine);
    splash.startTimer();

    const int code = app.exec();
    state->errorReport().setRecoveryHook({});
    app.setErrorReport(nullptr);
    return code;
}

}  // namespace quillon
