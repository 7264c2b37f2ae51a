// The window's menus and toolbar, and the switching of their commands.
#include "MainWindow.h"

#include "CopyPanel.h"
#include "LineForm.h"
#include "ListView.h"
#include "PortMenu.h"
#include "PrintFile.h"
#include "TipPopup.h"
#include "ToolpathDock.h"
#include "ProgramCheckPanel.h"
#include "StandardIconEngine.h"
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

namespace {

struct ToolButton {
    const char* key;
    const char* tip;
    QStyle::StandardPixmap icon;
};

const ToolButton kToolButtons[] = {
    {"New", "Neue Datei öffnen", QStyle::SP_FileIcon},
    {"Open", "Datei öffnen", QStyle::SP_DialogOpenButton},
    {"Save", "Datei speichern", QStyle::SP_DialogSaveButton},
    {"Copy", "Kopiere Programmzeilen", QStyle::SP_FileDialogDetailedView},
    {"Print", "Datei drucken", QStyle::SP_FileDialogContentsView},
    {"Send", "Programm zur Maschine übertragen", QStyle::SP_ArrowRight},
    {"Receive", "Programm von der Maschine empfangen", QStyle::SP_ArrowLeft},
    {"Exit", "Quillon beenden", QStyle::SP_DialogCloseButton},
};

}  // namespace

void MainWindow::buildMenus()
{
    auto add = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        m_menuActions[QString::fromLatin1(name)] = a;
        return a;
    };
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto dispatch = [this](QAction* a, const char* key) {
        const QString k = QString::fromLatin1(key);
        connect(a, &QAction::triggered, this, [this, k]() { DispatchAction(k); });
    };
    QMenu* f = menu("mnuF", "&Datei");
    m_fileMenu = f;
    dispatch(add(f, "mnuFNew", "Neu"), "New");
    QAction* open = add(f, "mnuFOpen", "öffnen");
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    dispatch(open, "Open");
    QAction* save = add(f, "mnuFSave", "Speichern");
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    dispatch(save, "Save");
    QAction* saveAs = add(f, "mnuFSaveAs", "Speichern unter");
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    dispatch(saveAs, "SaveAs");
    dispatch(add(f, "mnuFexport", "Export für Spindra"), "Export");
    f->addSeparator()->setObjectName(QStringLiteral("mnuF1"));
    connect(add(f, "mnuFmachine", "Maschinen Typ ändern"), &QAction::triggered, this,
            [this]() { guarded("mnuFmachine_Click", [this]() { changeMachine(); }); });
    f->addSeparator()->setObjectName(QStringLiteral("mnuF2"));
    QAction* print = add(f, "mnuFPrint", "Drucken");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    dispatch(print, "Print");
    dispatch(add(f, "mnuFPreview", "Druckvorschau"), "Preview");
    connect(add(f, "mnuFPdf", "Als PDF speichern ..."), &QAction::triggered, this, [this]() {
        guarded("mnuFPdf_Click", [this]() {
            saveProgramPdf(this, m_messages, m_editor->program(), m_editor->machine(), m_files->fileName(),
                           [this](bool enabled) { CommandState(enabled); }, &m_state.logger());
        });
    });
    f->addSeparator()->setObjectName(QStringLiteral("mnuF3"));
    // The recent files go between mnuF3 and mnuF4 (rebuildRecentMenu).
    m_mruEnd = f->addSeparator();
    m_mruEnd->setObjectName(QStringLiteral("mnuF4"));
    dispatch(add(f, "mnuFExit", "Ende"), "Exit");

    QMenu* e = menu("mnuE", "&Editieren");
    connect(add(e, "mnuEInsert", "Einfügen"), &QAction::triggered, m_cmdInsert, &QPushButton::click);
    connect(add(e, "mnuEDelete", "Löschen"), &QAction::triggered, m_cmdDelete, &QPushButton::click);
    dispatch(add(e, "mnuECopy", "Kopieren"), "Copy");
    e->addSeparator()->setObjectName(QStringLiteral("mnuE1"));
    QAction* undo = add(e, "mnuEUndo", "Rückgängig");
    QAction* redo = add(e, "mnuERedo", "Wiederherstellen");
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo, &QAction::triggered, m_cmdUndo, &QPushButton::click);
    connect(redo, &QAction::triggered, m_cmdRedo, &QPushButton::click);
    e->addSeparator()->setObjectName(QStringLiteral("mnuE2"));
    auto* units = new QActionGroup(this);
    QAction* metric = add(e, "mnuEMetric", "Metrische Einheiten");
    QAction* imperial = add(e, "mnuEImp", "Imperiale Einheiten");
    for (QAction* a : {metric, imperial}) {
        a->setCheckable(true);
        units->addAction(a);
    }
    metric->setChecked(true);
    connect(metric, &QAction::triggered, this, [this]() {
        guarded("mnuEMetric_Click", [this]() { m_editor->SetUnitMode(Units::Metric); });
    });
    connect(imperial, &QAction::triggered, this, [this]() {
        guarded("mnuEImp_Click", [this]() { m_editor->SetUnitMode(Units::Imperial); });
    });
    e->addSeparator()->setObjectName(QStringLiteral("mnuE3"));
    QAction* check = add(e, "mnuECheck", "Programm prüfen");
    check->setShortcut(QKeySequence(Qt::Key_F7));
    connect(check, &QAction::triggered, this, [this]() { guarded("mnuECheck_Click", [this]() { showProgramCheck(); }); });

    m_transferMenu = menu("mnut", "Ü&bertragung");
    dispatch(add(m_transferMenu, "mnuTReceive", "Empfangen"), "Receive");
    dispatch(add(m_transferMenu, "mnuTSend", "Senden"), "Send");
    m_transferMenu->addSeparator()->setObjectName(QStringLiteral("mnuT1"));
    m_portsStart = m_transferMenu->actions().size();
    // Adapters come and go: the port list is read again each time the menu opens.
    connect(m_transferMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildPortMenu);
    refillPortMenu(false);

    QMenu* h = menu("mnuH", "&Hilfe");
    connect(add(h, "mnuHquillon", "Quillon Hilfe"), &QAction::triggered, this, &MainWindow::showHelp);
    connect(add(h, "mnuHHelp", "Herstellung einen seriellen Kabels"), &QAction::triggered, this,
            &MainWindow::showCableHelp);
    h->addSeparator()->setObjectName(QStringLiteral("mnuH1"));
    connect(add(h, "mnuHAbout", "Info über Quillon"), &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Werkzeuge"));
    m_toolbar->setObjectName(QStringLiteral("tlbControl"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(20, 20));
    for (const ToolButton& b : kToolButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* a = m_toolbar->addAction(lazyStandardIcon(b.icon), key);
        a->setObjectName(QStringLiteral("tlb") + key);
        a->setData(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        connect(a, &QAction::triggered, this, [this, key]() { DispatchAction(key); });
        m_toolActions[key] = a;
        if (key == QLatin1String("Save") || key == QLatin1String("Print"))
            m_toolbar->addSeparator();
        else if (key == QLatin1String("Receive"))
            m_transferSeparator = m_toolbar->addSeparator();
    }
}

void MainWindow::CommandState(bool enabled)
{
    const TraceScope trace(m_state.logger(), "modQuillon", "CommandState");
    if (m_tip)
        m_tip->remove();
    for (auto& [key, action] : m_toolActions) {
        // While lines are copied the Copy button stays as it is.
        if (key == QLatin1String("Copy") && m_editor && m_editor->flags().copyMode)
            continue;
        action->setEnabled(enabled);
    }
    for (const char* name : {"mnuFNew", "mnuFOpen", "mnuFSave", "mnuFSaveAs", "mnuFPrint", "mnuFPreview", "mnuFexport",
                             "mnuFmachine", "mnuECopy", "mnuTSend", "mnuTReceive", "mnuFPdf"})
        m_menuActions[QString::fromLatin1(name)]->setEnabled(enabled);
    // A recent file is an Open: it waits while a command runs or lines are copied.
    for (QAction* a : m_mruActions)
        a->setEnabled(enabled);
}

void MainWindow::rebuildRecentMenu()
{
    for (QAction* a : m_mruActions) {
        // The entry may be the one being triggered: it goes later, nameless now.
        m_fileMenu->removeAction(a);
        a->setObjectName(QString());
        a->deleteLater();
    }
    m_mruActions.clear();
    const QStringList captions = m_state.recentFiles().captions();
    for (int i = 0; i < captions.size(); ++i) {
        auto* a = new QAction(captions[i], m_fileMenu);
        a->setObjectName(QStringLiteral("mnuFmru%1").arg(i));
        a->setData(m_state.recentFiles().tag(i));
        m_fileMenu->insertAction(m_mruEnd, a);
        connect(a, &QAction::triggered, this, [this, i]() { guarded("mnuFmru_Click", [this, i]() { mnuFmru_Click(i); }); });
        a->setEnabled(m_menuActions[QStringLiteral("mnuFOpen")]->isEnabled());
        m_mruActions.push_back(a);
    }
}

void MainWindow::rebuildPortMenu()
{
    refillPortMenu(true);
}

void MainWindow::refillPortMenu(bool findAdapters)
{
    const QList<QAction*> actions = m_transferMenu->actions();
    for (qsizetype i = m_portsStart; i < actions.size(); ++i) {
        m_transferMenu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    for (QActionGroup* group : m_transferMenu->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly))
        group->deleteLater();
    PortMenuModel model;
    model.rebuild(findAdapters ? PortMenuModel::systemPorts() : std::vector<DetectedPort>{},
                  m_state.settings().comPort());
    fillPortMenu(m_transferMenu, model, [this](const QString& port) { setPort(port); });
}

void MainWindow::setPort(const QString& port)
{
    m_state.settings().setValue(QString::fromLatin1(Settings::kComPort), port);
    rebuildPortMenu();
}

}  // namespace quillon
