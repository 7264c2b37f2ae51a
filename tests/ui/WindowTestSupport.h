#pragma once

// What the window tests share: an application state in a temporary folder,
// message sinks that answer without a box, a shown window with a new
// program, and the files they read and write.

#include "ui/MainWindow.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// QTRY_* return silently from a GoogleTest body; this records the failure.
#define WAIT_TRUE(cond) ASSERT_TRUE(QTest::qWaitFor([&]() { return bool(cond); }, 5000)) << #cond

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

// Keeps every box; answers from `answers` in turn, then No to questions.
class RecordingSink : public MessageSink {
public:
    struct Box {
        QString message;
        int style;
        QString title;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        boxes.push_back({message, style, title});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return style == MsgStyle::Question ? MsgResult::No : MsgResult::Ok;
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

// A file's bytes; one that cannot be read has none.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The bytes of a file of tests/data.
inline QByteArray dataBytes(const char* name)
{
    const QByteArray bytes = fileBytes(qEnvironmentVariable("QUILLON_TEST_DATA") + QLatin1Char('/') + QLatin1String(name));
    EXPECT_FALSE(bytes.isEmpty()) << name;
    return bytes;
}

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

// Handles the modal dialogs as they come up, one handler each, in order.
// A handler must close its dialog.
class ModalScript {
public:
    explicit ModalScript(std::vector<std::function<void(QWidget*)>> handlers)
        : m_handlers(std::move(handlers))
    {
        poll();
    }
    std::size_t handled() const { return m_next; }

private:
    void poll()
    {
        QTimer::singleShot(10, &m_guard, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != m_last && m_next < m_handlers.size()) {
                m_last = modal;
                m_handlers[m_next++](modal);
            } else if (!modal) {
                m_last = nullptr;
            }
            if (m_next < m_handlers.size())
                poll();
        });
    }

    std::vector<std::function<void(QWidget*)>> m_handlers;
    QObject m_guard;  // stops the polling when the script goes out of scope
    std::size_t m_next = 0;
    QWidget* m_last = nullptr;
};

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace quillon::testing
