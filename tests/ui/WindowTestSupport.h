#pragma once

// What the main-window tests share: an application state in a temporary
// folder, a message sink that answers without a box, and a shown window
// with a new program.

#include "ui/MainWindow.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace quillon::testing {

// Says `answer` (No unless set) to every question and OK to everything
// else, counting the boxes and keeping the last message.
class QuietSink : public MessageSink {
public:
    int boxes = 0;
    int answer = MsgResult::No;
    QString lastMessage;
    int intStdMsgBox(const QString& message, int style, const QString&) override
    {
        ++boxes;
        lastMessage = message;
        return style == MsgStyle::Question ? answer : MsgResult::Ok;
    }
};

// The state of a run with its settings, log and recovery files in `dir`; a
// non-empty `settings` text is the settings file it starts from.
inline std::unique_ptr<ApplicationState> makeTestState(const QTemporaryDir& dir, MachineType machine,
                                                       const QString& settings = QString(),
                                                       LogEnvironment environment = {})
{
    ApplicationState::Paths paths{dir.path(), dir.filePath("Quillon.ini"), dir.filePath("Quillon.log")};
    if (!settings.isEmpty()) {
        QFile f(paths.settingsFile);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(settings.toUtf8());
    }
    if (!environment)
        environment = [](const QString&) { return std::optional<QString>(); };
    auto state = std::make_unique<ApplicationState>(paths, environment);
    state->setMachine(machine);
    return state;
}

// Shows the window, waits until it is active and starts a new program, as
// the application does at start.
inline void showWithNewProgram(MainWindow& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.DispatchAction(QStringLiteral("New"));
}

}  // namespace quillon::testing
