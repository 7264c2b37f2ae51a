#include "MainWindow.h"

#include "ExportCommand.h"
#include "ExportDialogs.h"
#include "LinkCommands.h"
#include "PortMenu.h"
#include "PrintFile.h"
#include "ProgramCheckPanel.h"
#include "frmLead.h"
#include "link/PortMenuModel.h"
#include "link/ReceivedProgram.h"

#include "Cp1252Validator.h"
#include "HelpWindow.h"
#include "ListView.h"
#include "MachineTypeDialog.h"
#include "SplashWindow.h"
#include "TipPopup.h"
#include "ToolpathDock.h"
#include "editing/ParameterRules.h"
#include "files/ProgramText.h"
#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"
#include "shell/RecoveryFile.h"
#include "shell/TraceScope.h"
#include "shell/WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

#include <exception>

namespace quillon {

namespace {

const char* const kModule = "frmQuillon";

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

template <typename F>
void MainWindow::guarded(const char* procedure, F&& action)
{
    TraceScope trace(m_state.logger(), kModule, procedure);
    try {
        action();
    } catch (const std::exception& e) {
        m_state.errorReport().LogError(QString::fromLatin1(kModule), QString::fromLatin1(procedure), 0,
                                       QString::fromLocal8Bit(e.what()));
    }
}

MainWindow::MainWindow(ApplicationState& state, MessageSink& messages, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_messages(messages)
{
    setObjectName(QStringLiteral("frmQuillon"));
    // A narrow sans serif at the size of the classic dialog font, so that the
    // form and its captions fit the 640 x 480 minimum.
    QFont uiFont(QStringLiteral("Liberation Sans"), 9);
    uiFont.setStyleHint(QFont::SansSerif);
    setFont(uiFont);
    m_resizing = true;
    buildControls();
    buildMenus();
    buildToolbar();
    setMinimumSize(kMinWidthTwips / kTwipsPerPixel, kMinHeightTwips / kTwipsPerPixel);

    m_tmrSetFocus.setObjectName(QStringLiteral("tmrSetFocus"));
    m_tmrSetFocus.setSingleShot(true);
    m_tmrSetFocus.setInterval(250);
    connect(&m_tmrSetFocus, &QTimer::timeout, this, [this]() {
        guarded("tmrSetFocus_Timer", [this]() { m_editor->tmrSetFocus_Timer(); });
    });

    // Load: place the window, the port, Save disabled until a command
    // enables it, the units, the lists and the code tables.
    placeFromWinSetting(m_state.settings().win());
    if (m_state.settings().network()) {
        m_transferMenu->menuAction()->setVisible(false);
        m_toolActions[QStringLiteral("Send")]->setVisible(false);
        m_toolActions[QStringLiteral("Receive")]->setVisible(false);
    } else {
        rebuildPortMenu();
    }
    m_toolActions[QStringLiteral("Save")]->setEnabled(false);
    m_menuActions[QStringLiteral("mnuFSave")]->setEnabled(false);
    m_menuActions[QStringLiteral("mnuFSaveAs")]->setEnabled(false);

    EditorView& view = *this;
    m_editor = std::make_unique<Editor>(view, m_state.machine(), m_state.woodworker(),
                                        unitsFromSetting(m_state.settings().units()));
    FileCommandsHost& host = *this;
    m_files = std::make_unique<FileCommands>(*m_editor, host, m_state.settings(), m_state.recentFiles(),
                                             QDir::homePath());
    defineLists();
    connectFields();
    m_editor->loadCodeLists();
    rebuildRecentMenu();
    buildPreview();

    m_tip = new TipPopup(this);
    for (ListView* view : {m_picList, m_picGcode, m_picMcode})
        view->setTipPopup(m_tip);

    // A close from the window system is answered outside its own event.
    m_tmrExit.setObjectName(QStringLiteral("tmrExit"));
    m_tmrExit.setSingleShot(true);
    m_tmrExit.setInterval(250);
    connect(&m_tmrExit, &QTimer::timeout, this, [this]() { guarded("tmrExit_Timer", [this]() { exitProgram(); }); });

    // Docks shrink the central widget without resizing the window.
    centralWidget()->installEventFilter(this);
    m_resizing = false;
    layoutControls();
}

MainWindow::~MainWindow()
{
    // The panes read the editor and resize this window; they go while both are whole.
    delete m_preview;
    m_preview = nullptr;
    delete m_checkPanel;
    m_checkPanel = nullptr;
    // The views observe the editor's lists; let go of them before the lists go.
    for (ListView* view : {m_picList, m_picGcode, m_picMcode})
        view->setTipPopup(nullptr);
    m_picList->setControl(nullptr);
    m_picGcode->setControl(nullptr);
    m_picMcode->setControl(nullptr);
}

// --- building ---------------------------------------------------------------------

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    setCentralWidget(central);

    m_picList = new ListView(QStringLiteral("vsbList"), central);
    m_picList->setObjectName(QStringLiteral("picList"));
    m_picList->setFont(ListView::fixedPitchFont(9));
    m_picList->setLeftButtonOnly(true);
    m_picGcode = new ListView(QStringLiteral("vsbGcode"), central);
    m_picGcode->setObjectName(QStringLiteral("picGcode"));
    m_picMcode = new ListView(QStringLiteral("vsbMcode"), central);
    m_picMcode->setObjectName(QStringLiteral("picMcode"));
    m_picMcode->setWheelEnabled(false);

    m_fraCode = new QGroupBox(QStringLiteral("      Bitte einen G-Code bzw. M-Code auswählen"), central);
    m_fraCode->setObjectName(QStringLiteral("fraCode"));
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, m_fraCode);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_lblLine0 = label("lblLine0", QStringLiteral("Zeile"));
    m_lblLine1 = label("lblLine1", QStringLiteral("000"));
    m_lblGcodeHead = label("lblGcodeHead", QStringLiteral("Code"));
    m_lblGcode = label("lblGcode", QStringLiteral("G00"));
    m_lblGcode->setAlignment(Qt::AlignCenter);
    m_lblGcode->setFrameShape(QFrame::Panel);
    m_lblGcode->setFrameShadow(QFrame::Sunken);
    m_lblGcode->setAutoFillBackground(true);
    m_lblFpar = label("lblFpar", QString());
    m_lblFpar->setAlignment(Qt::AlignCenter);
    QFont bold = m_lblFpar->font();
    bold.setBold(true);
    m_lblFpar->setFont(bold);
    m_lblLine1->setFont(bold);
    m_lblGcode->setFont(bold);
    m_lblComment = label("lblComment", QStringLiteral("Kommentar"));
    for (int k = 0; k < 5; ++k) {
        m_lblParam[k] = label(qPrintable(QStringLiteral("lblParam%1").arg(k)), QString());
        m_lblParam[k]->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        m_txtParam[k] = new QLineEdit(m_fraCode);
        m_txtParam[k]->setObjectName(QStringLiteral("txtParam%1").arg(k));
        m_txtParam[k]->setMaxLength(9);
        m_lblParam[k]->hide();
        m_txtParam[k]->hide();
    }
    m_txtComment = new QLineEdit(m_fraCode);
    m_txtComment->setObjectName(QStringLiteral("txtComment"));
    m_txtComment->setValidator(new Cp1252Validator(m_txtComment));

    auto button = [central](const char* name, const char* caption, const char* tip) {
        auto* b = new QPushButton(QString::fromUtf8(caption), central);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(tip));
        b->setAutoDefault(false);
        return b;
    };
    m_cmdInsert = button("cmdInsert", "Einfügen", "Fügt eine neue Zeile ein");
    m_cmdDelete = button("cmdDelete", "Löschen", "Zeile löschen");
    m_cmdUndo = button("cmdUndo", "Rückgängig", "aktuelle Programmzeile wiederherstellen");
    m_cmdRedo = button("cmdRedo", "Wiederherstellen", "Wiederherstellen der ursprünglichen Werte");
    m_cmdUndo->setEnabled(false);
    m_cmdRedo->setEnabled(false);

    m_fraNotes = new QGroupBox(QStringLiteral("Programm Beschreibung"), central);
    m_fraNotes->setObjectName(QStringLiteral("fraNotes"));
    m_txtNotes = new QPlainTextEdit(m_fraNotes);
    m_txtNotes->setObjectName(QStringLiteral("txtNotes"));
    m_txtNotes->setTabChangesFocus(true);

    m_picUnits = new QFrame(central);
    m_picUnits->setObjectName(QStringLiteral("picUnits"));
    static_cast<QFrame*>(m_picUnits)->setFrameShape(QFrame::StyledPanel);
    m_lblUnits = new QLabel(QStringLiteral("Metrisches Meßsystem"), m_picUnits);
    m_lblUnits->setObjectName(QStringLiteral("lblUnits"));
    m_lblUnits->setAlignment(Qt::AlignCenter);

    buildCopyPanel();

    // Tab order of the line form: the fields left to right, then the comment.
    for (int k = 0; k < 4; ++k)
        setTabOrder(m_txtParam[k], m_txtParam[k + 1]);
    setTabOrder(m_txtParam[4], m_txtComment);
}

void MainWindow::buildCopyPanel()
{
    QWidget* central = centralWidget();
    m_lblmark1 = new QLabel(QStringLiteral("Programmzeilen kopieren"), central);
    m_lblmark1->setObjectName(QStringLiteral("lblmark1"));
    QFont bold = m_lblmark1->font();
    bold.setBold(true);
    m_lblmark1->setFont(bold);
    m_lblMark2 = new QLabel(central);
    m_lblMark2->setObjectName(QStringLiteral("lblMark2"));
    m_lblMark2->setWordWrap(true);
    m_lblMark2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picInsert = new QWidget(central);
    m_picInsert->setObjectName(QStringLiteral("picInsert"));
    auto* lblInsert = new QLabel(QStringLiteral("Zeile"), m_picInsert);
    lblInsert->setObjectName(QStringLiteral("lblInsert"));
    auto* lblCopies = new QLabel(QStringLiteral("Kopieren"), m_picInsert);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    m_txtInsert = new QLineEdit(m_picInsert);
    m_txtInsert->setObjectName(QStringLiteral("txtInsert"));
    m_txtCopies = new QLineEdit(m_picInsert);
    m_txtCopies->setObjectName(QStringLiteral("txtCopies"));
    // Digits only; the shortcut keys for copy, paste, cut and undo still work.
    for (QLineEdit* box : {m_txtInsert, m_txtCopies}) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setMaxLength(5);
    }
    auto* row = new QHBoxLayout(m_picInsert);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblInsert);
    row->addWidget(m_txtInsert);
    row->addWidget(lblCopies);
    row->addWidget(m_txtCopies);
    m_cmdNext = new QPushButton(QStringLiteral("Next"), central);
    m_cmdNext->setObjectName(QStringLiteral("cmdNext"));
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), central);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblmark1, m_lblMark2, m_picInsert, m_cmdNext, m_cmdCancel})
        w->hide();
    connect(m_cmdNext, &QPushButton::clicked, this, [this]() {
        guarded("cmdNext_Click", [this]() { m_editor->cmdNext_Click(); });
    });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this]() {
        guarded("cmdCancel_Click", [this]() { m_editor->cmdCancel_Click(); });
    });
    connect(m_txtInsert, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("txtInsert_Change", [&]() { m_editor->txtInsertChanged(text); });
    });
    connect(m_txtCopies, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("txtCopies_Change", [&]() { m_editor->txtCopiesChanged(text); });
    });
}

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
    rebuildPortMenu();

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
        QAction* a = m_toolbar->addAction(style()->standardIcon(b.icon), key);
        a->setObjectName(QStringLiteral("tlb") + key);
        a->setData(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        connect(a, &QAction::triggered, this, [this, key]() { DispatchAction(key); });
        m_toolActions[key] = a;
        if (key == QLatin1String("Save") || key == QLatin1String("Print") || key == QLatin1String("Receive"))
            m_toolbar->addSeparator();
    }
}

void MainWindow::defineLists()
{
    const MachineType machine = m_state.machine();
    m_picList->setControl(&m_editor->programList());
    m_picList->setColumn(1, QStringLiteral("  "), QStringLiteral("+"));
    m_picList->setColumn(2, QStringLiteral("N"), QStringLiteral("000"));
    m_picList->setColumn(3, QStringLiteral("G"), QStringLiteral("M00"));
    int next = 4;
    auto column = [this, &next](const char* header, const char* sample) {
        m_picList->setColumn(next++, QString::fromLatin1(header), QString::fromLatin1(sample));
    };
    if (machine == MachineType::F1) {
        column("X", "-123456");
        column("Y", "-12345");
        column("Z", "-123456");
        column("F", "F000");
    } else {
        column("X", "-12345");
        column("Z", "-123456");
        column("F", "F000");
        if (machine == MachineType::Mark4)
            column("H", "0000");
    }
    column(" ", "XX");
    m_picList->initList();

    const QString run(machine == MachineType::F1 ? 8 : 4, QLatin1Char('x'));
    m_picGcode->setControl(&m_editor->gcodeList());
    m_picGcode->setColumn(1, QStringLiteral("  "), QStringLiteral("M00"));
    m_picGcode->setColumn(2, QStringLiteral("G Funktionen"), run + QStringLiteral("nxxxxxxxxxxxxxxxxxxxxxxxxx"));
    m_picGcode->initList();
    m_picMcode->setControl(&m_editor->mcodeList());
    m_picMcode->setColumn(1, QStringLiteral(" "), QStringLiteral("M00"));
    m_picMcode->setColumn(2, QStringLiteral("M Funktionen"), run + QStringLiteral("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"));
    m_picMcode->initList();
}

void MainWindow::connectFields()
{
    for (int k = 0; k < 5; ++k) {
        QLineEdit* field = m_txtParam[k];
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, k](const QString& text) {
            guarded("txtParam_Change", [&]() { m_editor->paramEdited(k, text); });
        });
    }
    m_txtComment->installEventFilter(this);
    connect(m_txtComment, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("txtComment_Change", [&]() { m_editor->commentEdited(text); });
    });
    connect(m_txtNotes, &QPlainTextEdit::textChanged, this, [this]() {
        if (m_programWrite > 0)
            return;
        QString text = m_txtNotes->toPlainText();
        const QString kept = cp1252Only(text);
        if (kept != text) {
            // What Windows-1252 cannot hold would be lost on saving; it is not let in.
            ++m_programWrite;
            QTextCursor cursor = m_txtNotes->textCursor();
            const int position = cursor.position() - static_cast<int>(text.size() - kept.size());
            m_txtNotes->setPlainText(kept);
            cursor = m_txtNotes->textCursor();
            cursor.setPosition(std::max(0, std::min(position, static_cast<int>(kept.size()))));
            m_txtNotes->setTextCursor(cursor);
            --m_programWrite;
        }
        guarded("txtNotes_Change", [&]() { m_editor->notesEdited(kept); });
    });
    for (QPushButton* b : {m_cmdInsert, m_cmdDelete, m_cmdUndo, m_cmdRedo})
        b->installEventFilter(this);
    m_picGcode->installEventFilter(this);
    m_picMcode->installEventFilter(this);
    connect(m_cmdInsert, &QPushButton::clicked, this, [this]() {
        guarded("cmdInsert_Click", [this]() { m_editor->cmdInsert_Click(); });
    });
    connect(m_cmdDelete, &QPushButton::clicked, this, [this]() {
        guarded("cmdDelete_Click", [this]() { m_editor->cmdDelete_Click(); });
    });
    connect(m_cmdUndo, &QPushButton::clicked, this, [this]() {
        guarded("cmdUndo_Click", [this]() { m_editor->cmdUndo_Click(); });
    });
    connect(m_cmdRedo, &QPushButton::clicked, this, [this]() {
        guarded("cmdRedo_Click", [this]() { m_editor->cmdRedo_Click(); });
    });
}

// --- layout --------------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!m_resizing && !isMinimized())
        layoutControls();
}

void MainWindow::layoutControls()
{
    QWidget* central = centralWidget();
    if (!central || !m_editor)
        return;
    m_resizing = true;
    const int w = central->width();
    const int h = central->height();
    const int gap = 6;

    // Left: the program list as wide as its columns, the description and units below.
    // The right side needs about 350 pixels for its buttons; the list takes
    // the rest, and its comment column whatever its fixed columns leave.
    const int scrollWidth = m_picList->scrollBar()->sizeHint().width() + 4;
    ListControl& program = m_editor->programList();
    const int commentColumn = m_editor->profile().columns.comment;
    const int fixedWidth = program.totalWidth() - program.state().column(commentColumn).width;
    const int commentMin = m_picList->fontMetrics().horizontalAdvance(QStringLiteral("XX")) + 6;
    const int listWidth = std::max(fixedWidth + commentMin + scrollWidth, std::min(w / 2, w - 350 - 3 * gap));
    program.ListSetColumn(commentColumn, QStringLiteral(" "), listWidth - fixedWidth - scrollWidth);
    const int unitsHeight = 24;
    const int notesHeight = std::max(84, h / 5);
    m_picUnits->setGeometry(gap, h - unitsHeight - gap, listWidth, unitsHeight);
    m_lblUnits->setGeometry(2, 2, listWidth - 4, unitsHeight - 4);
    m_fraNotes->setGeometry(gap, m_picUnits->y() - notesHeight - 2, listWidth, notesHeight);
    m_txtNotes->setGeometry(8, 20, listWidth - 16, notesHeight - 28);
    m_picList->setGeometry(gap, gap, listWidth, m_fraNotes->y() - 2 * gap);

    // Right: the line form, its buttons, then the G and M lists.
    const int x0 = gap + listWidth + gap;
    const int rw = w - x0 - gap;
    const int fieldHeight = m_txtComment->sizeHint().height();
    const int labelHeight = fontMetrics().height() + 2;
    const int top = 22;
    m_lblLine0->setGeometry(10, top, 36, fieldHeight);
    m_lblLine1->setGeometry(46, top, 40, fieldHeight);
    m_lblGcodeHead->setGeometry(96, top, 40, fieldHeight);
    m_lblGcode->setGeometry(136, top, 52, fieldHeight);
    m_lblFpar->setGeometry(196, top, 28, fieldHeight);

    const int inner = rw - 20;
    const int fieldGap = 6;
    const int fw = (inner - 4 * fieldGap) / 5;
    const int paramTop = top + fieldHeight + 6;
    // The lathes never use the Y field: Z, F and H move left into its place.
    const int shift = isLathe(m_editor->machine()) ? fw + fieldGap : 0;
    for (int k = 0; k < 5; ++k) {
        const int x = 10 + k * (fw + fieldGap) - (k >= 2 ? shift : 0);
        m_lblParam[k]->setGeometry(x, paramTop, fw, labelHeight);
        m_txtParam[k]->setGeometry(x, paramTop + labelHeight, fw, fieldHeight);
    }
    const int commentTop = paramTop + labelHeight + fieldHeight + 6;
    m_lblComment->setGeometry(10, commentTop, inner, labelHeight);
    m_txtComment->setGeometry(10, commentTop + labelHeight, inner, fieldHeight);
    const int frameHeight = commentTop + labelHeight + fieldHeight + 10;
    m_fraCode->setGeometry(x0, gap, rw, frameHeight);
    // The copy panel takes the code frame's place while lines are copied.
    m_lblmark1->setGeometry(x0, gap, rw, labelHeight);
    const int panelRow = fieldHeight + 4;
    const int markBottom = gap + frameHeight - panelRow;
    m_lblMark2->setGeometry(x0, gap + labelHeight + 2, rw, markBottom - gap - labelHeight - 4);
    const int nextWidth = m_cmdCancel->sizeHint().width();
    m_picInsert->setGeometry(x0, markBottom, rw - 2 * (nextWidth + gap), fieldHeight);
    m_cmdNext->setGeometry(x0 + rw - 2 * nextWidth - gap, markBottom, nextWidth, fieldHeight);
    m_cmdCancel->setGeometry(x0 + rw - nextWidth, markBottom, nextWidth, fieldHeight);

    const int buttonTop = gap + frameHeight + gap;
    const int buttonHeight = m_cmdInsert->sizeHint().height();
    // Each button as wide as its caption needs, the rest shared out evenly.
    const std::array<QPushButton*, 4> buttons = {m_cmdInsert, m_cmdDelete, m_cmdUndo, m_cmdRedo};
    std::array<int, 4> bw{};
    int needed = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        bw[i] = buttons[i]->fontMetrics().horizontalAdvance(buttons[i]->text()) + 16;
        needed += bw[i];
    }
    const int spare = (rw - 3 * gap - needed) / 4;
    int bx = x0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int width = i + 1 == buttons.size() ? x0 + rw - bx : bw[i] + spare;
        buttons[i]->setGeometry(bx, buttonTop, width, buttonHeight);
        bx += width + gap;
    }

    const int listsTop = buttonTop + buttonHeight + gap;
    const int listsHeight = h - listsTop - gap;
    const int gHeight = m_editor->machine() == MachineType::Mark2 ? listsHeight : listsHeight * 3 / 5;
    m_picGcode->setGeometry(x0, listsTop, rw, gHeight);
    m_picMcode->setGeometry(x0, listsTop + gHeight + gap, rw, listsHeight - gHeight - gap);
    m_picMcode->setVisible(m_editor->machine() != MachineType::Mark2);
    // The descriptions take what the code column leaves of the list's width.
    for (ListView* view : {m_picGcode, m_picMcode}) {
        ListControl* list = view->control();
        const ListColumn& description = list->state().column(2);
        const int room = rw - list->state().column(1).width - view->scrollBar()->sizeHint().width() - 4;
        if (room > description.width)
            list->ListSetColumn(2, description.header, room);
    }
    m_resizing = false;
}

QString MainWindow::winSetting() const
{
    if (isMinimized())
        return QString();
    const QRect g = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    return winSettingText({g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
                           g.height() * kTwipsPerPixel});
}

void MainWindow::placeFromWinSetting(const QString& win)
{
    const int minW = kMinWidthTwips / kTwipsPerPixel;
    const int minH = kMinHeightTwips / kTwipsPerPixel;
    if (const std::optional<WindowPlacement> p = parseWinSetting(win)) {
        setGeometry(p->left / kTwipsPerPixel, p->top / kTwipsPerPixel, std::max(p->width / kTwipsPerPixel, minW),
                    std::max(p->height / kTwipsPerPixel, minH));
        return;
    }
    resize(minW, minH);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - minW) / 2, area.top() + (area.height() - minH) / 2);
    }
}

QString MainWindow::saveRecovery() const
{
    const QString folder = QFileInfo(m_state.settings().filePath()).absolutePath();
    return saveRecoveryFile(folder, QDateTime::currentDateTime(), m_editor->program(), m_editor->machine());
}

// --- commands ------------------------------------------------------------------------

void MainWindow::DispatchAction(const QString& key)
{
    if (m_splash)
        m_splash->dismiss();
    guarded("DispatchAction", [&]() {
        if (key == QLatin1String("New")) {
            m_files->NewFile();
        } else if (key == QLatin1String("Exit")) {
            exitProgram();
        } else if (key == QLatin1String("Open")) {
            m_files->OpenFile();
            rebuildRecentMenu();
        } else if (key == QLatin1String("Save")) {
            m_files->FileSaver();
            rebuildRecentMenu();
        } else if (key == QLatin1String("SaveAs")) {
            m_files->SaveAs();
            rebuildRecentMenu();
        } else if (key == QLatin1String("Print")) {
            printListing();
        } else if (key == QLatin1String("Preview")) {
            previewListing();
        } else if (key == QLatin1String("Export")) {
            exportProgram();
        } else if (key == QLatin1String("Send")) {
            sendProgram();
        } else if (key == QLatin1String("Receive")) {
            receiveProgram();
        } else if (key == QLatin1String("Copy")) {
            m_editor->CopyLines();
        }
    });
}

void MainWindow::CommandState(bool enabled)
{
    if (m_tip)
        m_tip->remove();
    for (auto& [key, action] : m_toolActions) {
        // While lines are copied the Copy button stays as it is.
        if (key == QLatin1String("Copy") && m_editor && m_editor->flags().copyMode)
            continue;
        action->setEnabled(enabled);
    }
    for (const char* name : {"mnuFNew", "mnuFOpen", "mnuFSave", "mnuFSaveAs", "mnuFPrint", "mnuFPreview", "mnuFexport",
                             "mnuFmachine", "mnuTSend", "mnuTReceive", "mnuFPdf"})
        m_menuActions[QString::fromLatin1(name)]->setEnabled(enabled);
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
        m_mruActions.push_back(a);
    }
}

void MainWindow::mnuFmru_Click(int index)
{
    if (m_splash)
        m_splash->dismiss();
    const QString path = m_state.recentFiles().tag(index);
    if (path.isEmpty())
        return;
    m_files->openRecent(path);
    rebuildRecentMenu();
    CommandState(true);
}

void MainWindow::openAtStart(const QString& path)
{
    guarded("openAtStart", [&]() {
        m_files->ReadFile(QFileInfo(path).absoluteFilePath());
        rebuildRecentMenu();
    });
}

void MainWindow::exitProgram()
{
    if (!m_files->ExitProg())
        return;
    m_shuttingDown = true;
    m_state.settings().setPreviewPane(m_preview->setting());
    if (m_help)
        m_help->close();
    close();
}

void MainWindow::changeMachine()
{
    const MachineChooser choose = m_machineChooser ? m_machineChooser : [](MachineType current, bool woodworker) {
        MachineTypeDialog dialog;
        return askMachineType(dialog, current, woodworker);
    };
    const std::optional<MachineSetting> choice = choose(m_state.machine(), m_state.woodworker());
    if (!choice)
        return;
    m_files->NewFile();
    if (m_editor->modified())
        return;  // the user kept the changes
    m_state.recentFiles().MRUSaveFileList(m_state.settings());
    if (!isMinimized())
        m_state.settings().setValue(QString::fromLatin1(Settings::kWin), winSetting());
    m_state.settings().setPreviewPane(m_preview->setting());
    m_state.applyMachineChoice(*choice);
    m_state.recentFiles().clear();
    m_state.recentFiles().MRUGetFileList(m_state.settings());
    m_machineChanging = true;
    emit machineChangeRequested();
}

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
    m_lblMark2->setText(instructions);
    m_fraCode->setVisible(!copying);
    m_lblmark1->setVisible(copying);
    m_lblMark2->setVisible(copying);
    m_cmdNext->setVisible(copying);
    m_cmdCancel->setVisible(copying);
    m_picInsert->setVisible(stage == CopyStage::Entering);
    m_picGcode->setEnabled(!copying);
    m_picMcode->setEnabled(!copying);
    m_menuActions[QStringLiteral("mnuEInsert")]->setEnabled(!copying && m_cmdInsert->isEnabled());
    m_menuActions[QStringLiteral("mnuEDelete")]->setEnabled(!copying && m_cmdDelete->isEnabled());
    if (copying)
        layoutControls();
}

void MainWindow::setCopyEntries(const QString& insert, const QString& copies)
{
    ++m_programWrite;
    m_txtInsert->setText(insert);
    m_txtCopies->setText(copies);
    --m_programWrite;
}

void MainWindow::setNextEnabled(bool enabled)
{
    m_cmdNext->setEnabled(enabled);
}

void MainWindow::printListing()
{
    printProgram(this, m_messages, m_editor->program(), m_editor->machine(), m_files->fileName(),
                 [this](bool enabled) { CommandState(enabled); }, &m_state.logger());
}

void MainWindow::previewListing()
{
    previewProgram(this, m_messages, m_editor->program(), m_editor->machine(), m_files->fileName(), &m_state.logger());
}

void MainWindow::exportProgram()
{
    if (!m_exportDialogs)
        m_exportDialogs = std::make_unique<ExportDialogs>(this);
    CommandState(false);
    runExportCommand(this, *m_exportDialogs, strFileOutBuff(m_editor->program(), m_editor->machine()),
                     m_editor->machine(), m_state.settings());
    CommandState(true);
}

void MainWindow::showProgramCheck()
{
    if (!m_checkPanel) {
        m_checkPanel = new ProgramCheckPanel(this);
        addDockWidget(Qt::BottomDockWidgetArea, m_checkPanel);
        m_checkPanel->setSource(
            [this]() { return checkProgram(m_editor->program(), m_editor->machine(), m_editor->tables()); });
        // Going to a finding selects its row as a click on it would, so the form follows.
        connect(m_checkPanel, &ProgramCheckPanel::rowActivated, this, [this](int row) {
            guarded("lstCheck_DblClick", [this, row]() {
                if (m_editor->copyStage() != CopyStage::Off || m_editor->rowCount() == 0)
                    return;
                m_editor->programList().ListSetIndex(std::min(row + 1, m_editor->rowCount()));
                m_picList->setFocus();
            });
        });
    }
    m_checkPanel->refresh();
    m_checkPanel->show();
    m_checkPanel->raise();
}

void MainWindow::showHelp()
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showAbout()
{
    if (!m_splash)
        return;
    m_splash->dismiss();
    m_splash->setMachine(m_editor->machine());
    m_splash->exec();
}

void MainWindow::rebuildPortMenu()
{
    const QList<QAction*> actions = m_transferMenu->actions();
    for (qsizetype i = m_portsStart; i < actions.size(); ++i) {
        m_transferMenu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    for (QActionGroup* group : m_transferMenu->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly))
        group->deleteLater();
    PortMenuModel model;
    model.rebuild(PortMenuModel::systemPorts(), m_state.settings().comPort());
    fillPortMenu(m_transferMenu, model, [this](const QString& port) { setPort(port); });
}

void MainWindow::setPort(const QString& port)
{
    m_state.settings().setValue(QString::fromLatin1(Settings::kComPort), port);
    rebuildPortMenu();
}

void MainWindow::sendProgram()
{
    CommandState(false);
    SendFile(this, m_editor->program(), m_editor->machine(), m_state.settings().comPort(), m_messages);
    CommandState(true);
}

void MainWindow::receiveProgram()
{
    CommandState(false);
    const ReceiveFileResult result = ReceiveFile(this, m_editor->modified(), m_editor->machine(), m_editor->units(),
                                                 m_state.settings().comPort(), m_messages);
    CommandState(true);
    if (!result.started)
        return;
    // Whatever arrived, the program in the editor no longer belongs to a file.
    m_files->forgetFileName();
    if (result.accepted) {
        // A received program is unsaved work.
        m_editor->replaceProgram(result.program, true, strReceivedCaption(m_editor->machine()));
    } else {
        m_editor->setModified(false);
        m_files->NewFile();
    }
}

void MainWindow::showCableHelp()
{
    CommandState(false);
    frmLead lead(this);
    lead.exec();
    CommandState(true);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_shuttingDown || m_machineChanging) {
        m_tip->remove();
        event->accept();
        return;
    }
    if (event->spontaneous()) {
        // Title bar, system menu, Alt+F4: the exit runs from tmrExit, outside this event.
        event->ignore();
        m_tmrExit.start();
        return;
    }
    if (!m_files->ExitProg()) {
        event->ignore();
        return;
    }
    m_shuttingDown = true;
    m_state.settings().setPreviewPane(m_preview->setting());
    m_tip->remove();
    if (m_help)
        m_help->close();
    event->accept();
}

// --- field events --------------------------------------------------------------------

int MainWindow::paramIndex(QObject* watched) const
{
    for (int k = 0; k < 5; ++k) {
        if (watched == m_txtParam[k])
            return k;
    }
    return -1;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget()) {
        if (event->type() == QEvent::Resize && !m_resizing)
            layoutControls();
        return QMainWindow::eventFilter(watched, event);
    }
    const int k = paramIndex(watched);
    const bool comment = watched == m_txtComment;
    if (watched == m_picGcode || watched == m_picMcode) {
        if (event->type() == QEvent::FocusIn) {
            const ListId list = watched == m_picGcode ? ListId::Gcode : ListId::Mcode;
            guarded(list == ListId::Gcode ? "picGcode_GotFocus" : "picMcode_GotFocus",
                    [&]() { m_editor->codeListGotFocus(list); });
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (k < 0 && !comment) {
        // The buttons: Up and Down move the shown line, as everywhere in the window.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                guarded("Form_KeyDown", [&]() { key == Qt::Key_Up ? m_editor->lineUp() : m_editor->lineDown(); });
                return true;
            }
        }
        return QMainWindow::eventFilter(watched, event);
    }

    switch (event->type()) {
    case QEvent::FocusIn:
        // After the click that brought the focus has placed its cursor.
        QTimer::singleShot(0, this, [this, k, comment]() {
            guarded(comment ? "txtComment_GotFocus" : "txtParam_GotFocus", [&]() {
                comment ? m_editor->commentGotFocus() : m_editor->paramGotFocus(k);
            });
        });
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window (a message box, a menu) taking the focus is no leaving of the field.
        if (!comment && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded("txtParam_LostFocus", [&]() { m_editor->paramLostFocus(k); });
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            guarded("Form_KeyDown", [&]() {
                // Moving to another line leaves the field as a Tab would: its
                // value is checked and stored first, and a refused value stays.
                if (!comment) {
                    m_editor->paramLostFocus(k);
                    if (m_editor->flags().refusedField != 0)
                        return;
                }
                key->key() == Qt::Key_Up ? m_editor->lineUp() : m_editor->lineDown();
            });
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            guarded(comment ? "txtComment_KeyDown" : "txtParam_KeyDown", [&]() {
                comment ? static_cast<void>(m_editor->commentEnterPressed()) : m_editor->paramEnterPressed(k);
            });
            return true;
        }
        if (comment)
            break;
        if (key->key() == Qt::Key_Delete) {
            m_editor->paramDeletePressed(k);
            break;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !blnParamKeyAccepted(text.at(0))
            && !(key->modifiers() & Qt::ControlModifier))
            return true;  // discarded like any other character the field does not take
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- EditorView ------------------------------------------------------------------------

QWidget* MainWindow::fieldWidget(FormField field) const
{
    switch (field) {
    case FormField::Comment: return m_txtComment;
    case FormField::Notes: return m_txtNotes;
    default: return m_txtParam[static_cast<std::size_t>(field)];
    }
}

QLabel* MainWindow::labelWidget(FormLabel label) const
{
    switch (label) {
    case FormLabel::LineHead: return m_lblLine0;
    case FormLabel::LineNumber: return m_lblLine1;
    case FormLabel::CodeHead: return m_lblGcodeHead;
    case FormLabel::Code: return m_lblGcode;
    case FormLabel::Fpar: return m_lblFpar;
    case FormLabel::Units: return m_lblUnits;
    case FormLabel::CodeFrame: return nullptr;
    default: return m_lblParam[static_cast<std::size_t>(static_cast<int>(label) - static_cast<int>(FormLabel::Param0))];
    }
}

void MainWindow::setLabelText(FormLabel label, const QString& text)
{
    if (label == FormLabel::CodeFrame)
        m_fraCode->setTitle(text.isEmpty() ? QString() : QStringLiteral("  ") + text + QStringLiteral("  "));
    else
        labelWidget(label)->setText(text);
}

void MainWindow::setLabelVisible(FormLabel label, bool visible)
{
    if (label != FormLabel::CodeFrame)
        labelWidget(label)->setVisible(visible);
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
    fieldWidget(field)->setVisible(visible);
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
    if (yellow == m_codeYellow && !m_lblGcode->styleSheet().isEmpty())
        return;
    m_codeYellow = yellow;
    m_lblGcode->setStyleSheet(yellow ? QStringLiteral("QLabel { background: #FFFF00; }")
                                     : QStringLiteral("QLabel { background: #FFFFFF; }"));
}

void MainWindow::setCodeFramePrompt(bool prompt)
{
    if (prompt == m_framePrompt && !m_fraCode->styleSheet().isEmpty())
        return;
    m_framePrompt = prompt;
    m_fraCode->setStyleSheet(prompt ? QStringLiteral("QGroupBox#fraCode::title { color: #008000; }")
                                    : QStringLiteral("QGroupBox#fraCode::title { color: #0000FF; }"));
}

void MainWindow::buildPreview()
{
    m_preview = new ToolpathDock(*m_editor, this);
    auto* view = new QMenu(QStringLiteral("&Ansicht"), this);
    view->setObjectName(QStringLiteral("mnuV"));
    view->addAction(m_preview->toggleViewAction());
    menuBar()->insertMenu(m_transferMenu->menuAction(), view);
    m_preview->applySetting(m_state.settings().previewPane());
    // A click on a move picks its row as a click in the program list would.
    connect(m_preview, &ToolpathDock::rowChosen, this, [this](int row) {
        guarded("picPreview_Click", [&]() {
            if (!m_editor->flags().copyMode && row >= 1 && row <= m_editor->rowCount())
                m_editor->programList().ListSetIndex(row);
        });
    });
    m_preview->programChanged();
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
    return m_messages.intStdMsgBox(message, style, title);
}

}  // namespace quillon
