#include "StdMessageBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quillon {

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
    const int answer = box.exec();
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
