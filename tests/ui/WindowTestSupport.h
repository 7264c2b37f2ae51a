#pragma once

// What the window tests share: an application state in a temporary folder,
// message sinks that answer without a box, a shown window with a new
// program, and the files they read and write.

#include "ui/ListView.h"
#include "ui/MainWindow.h"

#include "files/Cp1252.h"
#include "model/ProgramLine.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// A shown main window over a state in a temporary folder, with the file
// dialog, the open notice and the machine dialog answered from queues, and
// the user's ways of choosing codes and typing values.
class WindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<ApplicationState> state;
    RecordingSink sink;
    std::unique_ptr<MainWindow> w;
    std::deque<QString> chosenFiles;  // what the file dialog answers; "" = cancel
    std::vector<QString> dialogTitles;
    int notices = 0;
    std::deque<MachineSetting> machineChoices;
    LogEnvironment logSwitches;  // none: the log switches stay at their defaults

    void start(MachineType machine, const QString& settings = QString())
    {
        w.reset();
        state = makeTestState(dir, machine, settings, logSwitches);
        state->recentFiles().MRUGetFileList(state->settings());
        w = std::make_unique<MainWindow>(*state, sink);
        w->setFileDialog([this](const QString& title, bool, const QString&) {
            dialogTitles.push_back(title);
            QString f;
            if (!chosenFiles.empty()) {
                f = chosenFiles.front();
                chosenFiles.pop_front();
            }
            return f;
        });
        w->setOpenNotice([this]() { return ++notices, false; });
        w->setMachineChooser([this](MachineType, bool) -> std::optional<MachineSetting> {
            if (machineChoices.empty())
                return std::nullopt;
            const MachineSetting m = machineChoices.front();
            machineChoices.pop_front();
            return m;
        });
        showWithNewProgram(*w);
    }
    // The Mark 4 sample copied to `name` in the test folder and opened by the menu.
    QString openWelle(const char* name = "welle.cnc")
    {
        const QString path = writeFile(dir.filePath(QString::fromLatin1(name)), dataBytes("mark4-welle.cnc"));
        chosenFiles = {path};
        action("mnuFOpen")->trigger();
        EXPECT_EQ(w->files().fileName(), path);
        return path;
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QLineEdit* param(int k) const { return child<QLineEdit>(qPrintable(QStringLiteral("txtParam%1").arg(k))); }
    QLabel* paramLabel(int k) const { return child<QLabel>(qPrintable(QStringLiteral("lblParam%1").arg(k))); }
    QLineEdit* comment() const { return child<QLineEdit>("txtComment"); }

    // Clicks the table entry of `code` in the G or M list, as the user does.
    void pick(const char* code)
    {
        const QString c = QString::fromLatin1(code);
        ListView* view = child<ListView>(c.startsWith('M') ? "picMcode" : "picGcode");
        ListControl* list = view->control();
        for (int i = 1; i <= list->count(); ++i) {
            if (list->item(i).column(1) == c && list->item(i).colour != kListBlue) {
                if (!list->isVisible(i))
                    list->ListSetTop(i);
                QTest::mouseClick(view, Qt::LeftButton, {}, view->rowRect(i - list->state().topIndex).center());
                return;
            }
        }
        ADD_FAILURE() << "no code " << code;
    }
    // Types into the field that has the focus and leaves it with Tab.
    void typeAndTab(QLineEdit* field, const QString& text)
    {
        WAIT_TRUE(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    // Enter in the comment, which stores the line.
    void enterLine()
    {
        WAIT_TRUE(comment()->hasFocus());
        QTest::keyClick(comment(), Qt::Key_Return);
    }
    QByteArray lineBytes(int r) const
    {
        return encodeCp1252(programLineText(w->editor().row(r), w->editor().machine())).bytes;
    }
    QStringList shownCaptions() const
    {
        QStringList captions;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(param(k)->isVisible(), paramLabel(k)->isVisible()) << k;
            if (param(k)->isVisible())
                captions << paramLabel(k)->text();
        }
        return captions;
    }
};

}  // namespace quillon::testing
