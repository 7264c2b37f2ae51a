// How the window renders what the editor tells it, and the file dialogs it
// answers the file commands with.
#include "MainWindow.h"

#include "CopyPanel.h"
#include "LineForm.h"
#include "ListView.h"
#include "PortMenu.h"
#include "TipPopup.h"
#include "ToolpathDock.h"
#include "ProgramCheckPanel.h"
#include "link/PortMenuModel.h"
#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"
#include "shell/TraceScope.h"

#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillon {

QString MainWindow::chooseFile(const QString& title, bool forOpening, const QString& folder)
{
    if (m_fileDialog)
        return m_fileDialog(title, forOpening, folder);
    QFileDialog dialog(this, title, folder, QStringLiteral("NC Files (*.CNC *.cnc);;All Files (*)"));
    dialog.setDefaultSuffix(QStringLiteral("cnc"));
    if (forOpening) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool MainWindow::showOpenNotice()
{
    if (m_openNotice)
        return m_openNotice();
    QDialog notice(this);
    notice.setObjectName(QStringLiteral("frmOpen"));
    notice.setWindowTitle(QStringLiteral("Quillon - File Open"));
    auto* layout = new QVBoxLayout(&notice);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(&notice);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    auto* message = new QLabel(
        QStringLiteral("Stellen Sie sicher das die im Programm gespeicherten Werkzeugkorrekturwerte gültig sind."),
        &notice);
    message->setObjectName(QStringLiteral("lblMsg"));
    message->setWordWrap(true);
    row->addWidget(icon);
    row->addWidget(message, 1);
    layout->addLayout(row);
    auto* show = new QCheckBox(QStringLiteral("Do not show this message again."), &notice);
    show->setObjectName(QStringLiteral("chkShow"));
    layout->addWidget(show);
    auto* ok = new QPushButton(QStringLiteral("OK"), &notice);
    ok->setObjectName(QStringLiteral("cmdOk"));
    connect(ok, &QPushButton::clicked, &notice, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    notice.adjustSize();
    notice.move(x() + (width() - notice.width()) / 2, y() + (height() - notice.height()) / 2);
    notice.exec();
    return show->isChecked();
}

void MainWindow::commandState(bool enabled)
{
    CommandState(enabled);
}

void MainWindow::setCopyStage(CopyStage stage, const QString& instructions)
{
    const bool copying = stage != CopyStage::Off;
    m_copyPanel->setStage(stage, instructions);
    m_form->setVisible(!copying);
    m_picGcode->setEnabled(!copying);
    m_picMcode->setEnabled(!copying);
    m_menuActions[QStringLiteral("mnuEInsert")]->setEnabled(!copying && m_cmdInsert->isEnabled());
    m_menuActions[QStringLiteral("mnuEDelete")]->setEnabled(!copying && m_cmdDelete->isEnabled());
    // Keys typed anywhere (the description, a button) reach the program list.
    if (copying)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    layoutControls();
}

void MainWindow::setCopyEntries(const QString& insert, const QString& copies)
{
    m_copyPanel->setEntries(insert, copies);
}

void MainWindow::setNextEnabled(bool enabled)
{
    m_copyPanel->setNextEnabled(enabled);
}

// --- EditorView ------------------------------------------------------------------------

QWidget* MainWindow::fieldWidget(FormField field) const
{
    switch (field) {
    case FormField::Comment: return m_form->comment();
    case FormField::Notes: return m_txtNotes;
    default: return m_form->param(static_cast<int>(field));
    }
}

QLabel* MainWindow::labelWidget(FormLabel label) const
{
    return label == FormLabel::Units ? m_lblUnits : m_form->label(label);
}

void MainWindow::setLabelText(FormLabel label, const QString& text)
{
    if (label == FormLabel::CodeFrame) {
        m_form->setCaption(text);
        return;
    }
    QLabel* l = labelWidget(label);
    if (l->text() == text)
        return;
    l->setText(text);
    if (label >= FormLabel::Param0 && label <= FormLabel::Param4)
        m_form->fieldsChanged();
}

void MainWindow::setLabelVisible(FormLabel label, bool visible)
{
    if (label == FormLabel::CodeFrame)
        return;
    QLabel* l = labelWidget(label);
    if (l->isHidden() != visible)
        return;
    l->setVisible(visible);
    if (label >= FormLabel::Param0 && label <= FormLabel::Param4)
        m_form->fieldsChanged();
}

void MainWindow::setFieldText(FormField field, const QString& text)
{
    ++m_programWrite;
    if (field == FormField::Notes)
        m_txtNotes->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    else
        static_cast<QLineEdit*>(fieldWidget(field))->setText(text);
    --m_programWrite;
}

void MainWindow::setFieldVisible(FormField field, bool visible)
{
    QWidget* w = fieldWidget(field);
    if (w->isHidden() != visible)
        return;
    w->setVisible(visible);
    if (field != FormField::Comment && field != FormField::Notes)
        m_form->fieldsChanged();
}

void MainWindow::setFieldEnabled(FormField field, bool enabled)
{
    fieldWidget(field)->setEnabled(enabled);
}

void MainWindow::selectFieldText(FormField field, int start, int length)
{
    if (field == FormField::Notes)
        return;
    // Deferred like the focus: a selection made while the field is losing its
    // focus would be cleared by the field's own focus-out handling.
    auto* edit = static_cast<QLineEdit*>(fieldWidget(field));
    QTimer::singleShot(0, edit, [edit, start, length]() {
        edit->setSelection(start, std::min<int>(length, static_cast<int>(edit->text().size()) - start));
    });
}

void MainWindow::focusField(FormField field)
{
    // Deferred: the focus may be asked for from inside the focus change that
    // is leaving this very field.
    QWidget* w = fieldWidget(field);
    QTimer::singleShot(0, w, [w]() {
        if (w->isVisible() && w->isEnabled())
            w->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::focusCodeList(ListId list)
{
    ListView* view = list == ListId::Mcode ? m_picMcode : m_picGcode;
    // Deferred like the fields' focus: this may run inside the comment's key event.
    QTimer::singleShot(0, view, [view]() {
        if (view->isVisible() && view->isEnabled())
            view->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::focusProgramList()
{
    m_picList->setFocus(Qt::OtherFocusReason);
}

void MainWindow::setCommandEnabled(Command command, bool enabled)
{
    switch (command) {
    case Command::Insert:
        m_cmdInsert->setEnabled(enabled);
        m_menuActions[QStringLiteral("mnuEInsert")]->setEnabled(enabled);
        break;
    case Command::Delete:
        m_cmdDelete->setEnabled(enabled);
        m_menuActions[QStringLiteral("mnuEDelete")]->setEnabled(enabled);
        break;
    case Command::Undo:
        m_cmdUndo->setEnabled(enabled);
        m_menuActions[QStringLiteral("mnuEUndo")]->setEnabled(enabled);
        break;
    case Command::Redo:
        m_cmdRedo->setEnabled(enabled);
        m_menuActions[QStringLiteral("mnuERedo")]->setEnabled(enabled);
        break;
    case Command::GcodeList: m_picGcode->setEnabled(enabled); break;
    case Command::McodeList: m_picMcode->setEnabled(enabled); break;
    }
}

void MainWindow::setCommandToolTip(Command command, const QString& tip)
{
    if (command == Command::Undo)
        m_cmdUndo->setToolTip(tip);
    else if (command == Command::Redo)
        m_cmdRedo->setToolTip(tip);
}

void MainWindow::setCodeLabelYellow(bool yellow)
{
    // A style sheet change re-polishes the widget; only a real change pays for it.
    QLabel* code = m_form->label(FormLabel::Code);
    if (yellow == m_codeYellow && !code->styleSheet().isEmpty())
        return;
    m_codeYellow = yellow;
    code->setStyleSheet(yellow ? QStringLiteral("QLabel { background: #FFFF00; }")
                                     : QStringLiteral("QLabel { background: #FFFFFF; }"));
}

void MainWindow::setCodeFramePrompt(bool prompt)
{
    if (prompt == m_framePrompt && !m_form->styleSheet().isEmpty())
        return;
    m_framePrompt = prompt;
    m_form->setStyleSheet(prompt ? QStringLiteral("QGroupBox#fraCode::title { color: #008000; }")
                                    : QStringLiteral("QGroupBox#fraCode::title { color: #0000FF; }"));
}

void MainWindow::programChanged()
{
    if (m_preview)
        m_preview->programChanged();
    if (m_checkPanel)
        m_checkPanel->programChanged();
}

void MainWindow::currentRowChanged(int row)
{
    if (m_preview)
        m_preview->currentRowChanged(row);
}

void MainWindow::setUnits(Units units)
{
    m_menuActions[QStringLiteral("mnuEMetric")]->setChecked(units == Units::Metric);
    m_menuActions[QStringLiteral("mnuEImp")]->setChecked(units == Units::Imperial);
    m_state.settings().setValue(QString::fromLatin1(Settings::kUnits), unitsSettingValue(units));
}

void MainWindow::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void MainWindow::startFocusTimer()
{
    m_tmrSetFocus.start();
}

int MainWindow::intStdMsgBox(const QString& message, int style, const QString& title)
{
    const TraceScope trace(m_state.logger(), "modQuillon", "intStdMsgBox");
    return m_messages.intStdMsgBox(message, style, title);
}

}  // namespace quillon
