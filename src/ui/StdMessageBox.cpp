#include "StdMessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace quillon {

namespace {

// Longest wait for a key release that may never come (the key was let go
// while another program had the keyboard).
constexpr int kReleaseWaitMs = 3000;

bool isAnswerKey(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space;
}

// Follows Enter and Space for the whole application while a box is up and
// after it closes. Their repeats are swallowed, and once the box is gone all
// their events, so a key still held neither closes the next box at once nor
// repeats into the window below and reruns what opened the box.
class AnswerKeyWatch : public QObject {
public:
    bool held = false;
    bool swallowing = false;
    QEventLoop* waiting = nullptr;  // ended when the key is let go

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (isAnswerKey(key)) {
                // A repeat means the key is down, whenever it was pressed;
                // repeats never answer a box.
                if (type == QEvent::KeyPress)
                    setHeld(true);
                else if (!key->isAutoRepeat())
                    setHeld(false);
                if (swallowing || key->isAutoRepeat())
                    return true;
            }
        } else if (type == QEvent::ApplicationDeactivate) {
            setHeld(false);  // the release goes to another program
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void setHeld(bool down)
    {
        held = down;
        if (!held && waiting)
            waiting->quit();
    }
};

}  // namespace

int StdMessageBox::intStdMsgBox(const QString& message, int style, const QString& title)
{
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(owner);
    box.setWindowTitle(messageBoxTitle(title));
    box.setText(message);
    switch (style) {
    case MsgStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgStyle::Information: box.setIcon(QMessageBox::Information); break;
    case MsgStyle::Question: box.setIcon(QMessageBox::Question); break;
    default: box.setIcon(QMessageBox::Warning); break;
    }
    if (style == MsgStyle::Question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    AnswerKeyWatch keys;
    qApp->installEventFilter(&keys);
    const int answer = box.exec();
    // The box closes on the key press; wait for the release, processing
    // window events, so the key does not also act on the window below.
    keys.swallowing = true;
    if (keys.held) {
        QEventLoop wait;
        keys.waiting = &wait;
        QTimer::singleShot(kReleaseWaitMs, &wait, &QEventLoop::quit);
        wait.exec();
        keys.waiting = nullptr;
    }
    qApp->removeEventFilter(&keys);
    QGuiApplication::restoreOverrideCursor();
    // The owner gets the keyboard back, so that its fields' focus handling
    // goes on at once, whatever the window manager does (or without one).
    if (owner)
        owner->activateWindow();
    switch (answer) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return style == MsgStyle::Question ? MsgResult::No : MsgResult::Ok;
    }
}

}  // namespace quillon
