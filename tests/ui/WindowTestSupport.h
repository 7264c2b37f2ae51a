#pragma once

// What the window tests share: message sinks that answer without a box, a
// shown main window over a state in a temporary folder, and the files they
// read and write.

#include "ui/ListView.h"
#include "ui/MainWindow.h"

#include "files/Cp1252.h"
#include "model/ProgramLine.h"

#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"

#include "CliRun.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
        if (answers.empty())
            return style == MsgStyle::Question ? MsgResult::No : MsgResult::Ok;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
};

inline QString writeFile(const QString& path, const QByteArray& bytes) { return writeBytes(path, bytes); }

// Handles the modal dialogs as they come up, one handler each, in order.
// A handler must close its dialog.
class ModalScript {
public:
    explicit ModalScript(std::vector<std::function<void(QWidget*)>> handlers) : m_handlers(std::move(handlers)) { poll(); }
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
T* child(const QObject* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// A shown main window with a new program, as the application starts it, over
// a state in a temporary folder; the file dialog answers from a queue, the
// open notice and the machine dialog answer no. Also the user's ways of choosing codes
// and typing values.
class WindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<ApplicationState> state;
    RecordingSink sink;
    std::unique_ptr<MainWindow> w;
    std::deque<QString> chosenFiles;  // what the file dialog answers; "" = cancel
    std::vector<QString> dialogTitles;
    int notices = 0;
    LogEnvironment logSwitches = [](const QString&) { return std::optional<QString>(); };

    // A non-empty `settings` text is the settings file the run starts from.
    void start(MachineType machine, const QString& settings = QString())
    {
        w.reset();
        if (!settings.isEmpty())
            writeFile(dir.filePath("Quillon.ini"), settings.toUtf8());
        state = std::make_unique<ApplicationState>(
            ApplicationState::Paths{dir.path(), dir.filePath("Quillon.ini"), dir.filePath("Quillon.log")}, logSwitches);
        state->setMachine(machine);
        state->recentFiles().MRUGetFileList(state->settings());
        w = std::make_unique<MainWindow>(*state, sink);
        w->setFileDialog([this](const QString& title, bool, const QString&) {
            dialogTitles.push_back(title);
            const QString f = chosenFiles.empty() ? QString() : chosenFiles.front();
            if (!chosenFiles.empty())
                chosenFiles.pop_front();
            return f;
        });
        w->setOpenNotice([this]() { return ++notices, false; });
        w->setMachineChooser([](MachineType, bool) { return std::optional<MachineSetting>(); });
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->DispatchAction(QStringLiteral("New"));
    }
    // The Mark 4 sample copied to `name` in the test folder and opened by the menu.
    QString openWelle(const char* name = "welle.cnc")
    {
        chosenFiles = {writeFile(dir.filePath(QString::fromLatin1(name)), bytesOf(data("mark4-welle.cnc")))};
        action("mnuFOpen")->trigger();
        EXPECT_EQ(w->files().fileName(), dir.filePath(QString::fromLatin1(name)));
        return w->files().fileName();
    }

    template <typename T>
    T* child(const char* name) const { return testing::child<T>(w.get(), name); }
    template <typename T>
    static T* child(const QObject* parent, const char* name) { return testing::child<T>(parent, name); }
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
