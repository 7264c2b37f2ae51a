#include "MainWindow.h"

#include "CopyPanel.h"
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
#include "LineForm.h"
#include "ListView.h"
#include "MachineTypeDialog.h"
#include "SplashWindow.h"
#include "TipPopup.h"
#include "ToolpathDock.h"
#include "editing/ParameterRules.h"
#include "files/ProgramText.h"
#include "shell/ApplicationState.h"
#include "shell/MessageSink.h"
#include "shell/NetworkDrive.h"
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

}  // namespace

void MainWindow::guarded(const char* procedure, const std::function<void()>& action)
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

    // Load: place the window, the port, the units, the lists and the code
    // tables. Save stays usable from the start: a program typed after start
    // or opened from the command line must be savable.
    placeFromWinSetting(m_state.settings().win());
    // Run from a network drive, the serial line is not this machine's to offer.
    if (onNetworkFileSystem(QCoreApplication::applicationDirPath())) {
        m_transferMenu->menuAction()->setVisible(false);
        m_toolActions[QStringLiteral("Send")]->setVisible(false);
        m_toolActions[QStringLiteral("Receive")]->setVisible(false);
        m_transferSeparator->setVisible(false);
    }

    EditorView& view = *this;
    m_editor = std::make_unique<Editor>(view, m_state.machine(), m_state.woodworker(),
                                        unitsFromSetting(m_state.settings().units()));
    m_editor->setTrace(&m_state.logger());
    FileCommandsHost& host = *this;
    m_files = std::make_unique<FileCommands>(*m_editor, host, m_state.settings(), m_state.recentFiles(),
                                             QDir::homePath());
    defineLists();
    connectFields();
    m_editor->loadCodeLists();
    rebuildRecentMenu();
    buildPreview();

    m_tip = new TipPopup(this);
    m_tip->controller().setTrace(&m_state.logger());
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

    m_form = new LineForm(central);
    connect(m_form, &LineForm::heightChanged, this, [this]() {
        if (!m_resizing)
            layoutControls();
    });

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
}

void MainWindow::buildCopyPanel()
{
    m_copyPanel = new CopyPanel(centralWidget());
    connect(m_copyPanel, &CopyPanel::nextClicked, this, [this]() {
        guarded("cmdNext_Click", [this]() { m_editor->cmdNext_Click(); });
    });
    connect(m_copyPanel, &CopyPanel::cancelClicked, this, [this]() {
        guarded("cmdCancel_Click", [this]() { m_editor->cmdCancel_Click(); });
    });
    connect(m_copyPanel, &CopyPanel::insertEdited, this, [this](const QString& text) {
        guarded("txtInsert_Change", [&]() { m_editor->txtInsertChanged(text); });
    });
    connect(m_copyPanel, &CopyPanel::copiesEdited, this, [this](const QString& text) {
        guarded("txtCopies_Change", [&]() { m_editor->txtCopiesChanged(text); });
    });
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
    m_form->attach(m_editor.get(), isLathe(m_editor->machine()),
                   [this](const char* procedure, const std::function<void()>& call) { guarded(procedure, call); });
    m_txtNotes->installEventFilter(this);
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
    const int frameHeight = m_form->layoutFor(rw);
    m_form->setGeometry(x0, gap, rw, frameHeight);
    // The copy panel takes the line form's place while lines are copied, as
    // tall as its instructions need at this width.
    const int panelHeight = m_copyPanel->layoutFor(rw, frameHeight);
    m_copyPanel->setGeometry(x0, gap, rw, panelHeight);
    const int formHeight = m_copyPanel->isVisible() ? panelHeight : frameHeight;

    const int buttonTop = gap + formHeight + gap;
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
    // The descriptions take what the code column leaves of the list's width,
    // growing and shrinking with it so that the header is never cut.
    for (ListView* view : {m_picGcode, m_picMcode}) {
        ListControl* list = view->control();
        const ListColumn& description = list->state().column(2);
        const int room = rw - list->state().column(1).width - view->scrollBar()->sizeHint().width() - 4;
        if (room > 0 && room != description.width)
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

void MainWindow::mnuFmru_Click(int index)
{
    if (m_splash)
        m_splash->dismiss();
    const QString path = m_state.recentFiles().tag(index);
    if (path.isEmpty() || m_editor->flags().copyMode)
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
    const TraceScope trace(m_state.logger(), "modQuillon", "Shutdown");
    m_shuttingDown = true;
    m_state.settings().setPreviewPane(m_preview->setting());
    if (m_help)
        m_help->close();
    close();
}

void MainWindow::changeMachine()
{
    const TraceScope trace(m_state.logger(), "modQuillon", "SetMachineType");
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
    const TraceScope trace(m_state.logger(), "frmQuillon", "mnuFexport_Click");
    if (!m_exportDialogs) {
        m_exportDialogs = std::make_unique<ExportDialogs>(this);
        m_exportDialogs->setTrace(&m_state.logger());
    }
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
            [this]() {
                // The warnings come from the billet or block the pane's test run has.
                const bool inch = m_editor->program().units == Units::Imperial;
                return checkProgram(m_editor->program(), m_editor->machine(), m_editor->tables(),
                                    m_preview->materialSetup(inch));
            });
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

void MainWindow::sendProgram()
{
    const TraceScope trace(m_state.logger(), "modQuillon", "SendFile");
    CommandState(false);
    SendFile(this, m_editor->program(), m_editor->machine(), m_state.settings().comPort(), m_messages, nullptr,
             &m_state.logger());
    CommandState(true);
}

void MainWindow::receiveProgram()
{
    const TraceScope trace(m_state.logger(), "modQuillon", "ReceiveFile");
    CommandState(false);
    const ReceiveFileResult result = ReceiveFile(this, m_editor->modified(), m_editor->machine(), m_editor->units(),
                                                 m_state.settings().comPort(), m_messages, nullptr,
                                                 &m_state.logger());
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

bool MainWindow::routeCopyKey(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || m_copyPanel->ownsFocus(widget))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts (Ctrl, Alt) stay the window's.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    guarded("vsbList_KeyDown", [&]() { m_editor->copyKey(ListView::keyFor(key->key())); });
    if (!m_picList->hasFocus() && (widget == m_txtNotes || widget->focusPolicy() != Qt::NoFocus))
        m_picList->setFocus(Qt::OtherFocusReason);
    return true;
}

bool MainWindow::codeListEvent(QObject* watched, QEvent* event)
{
    const ListId list = watched == m_picGcode ? ListId::Gcode : ListId::Mcode;
    if (event->type() == QEvent::FocusIn) {
        guarded(list == ListId::Gcode ? "picGcode_GotFocus" : "picMcode_GotFocus",
                [&]() { m_editor->codeListGotFocus(list); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    // Moving is never picking: Up and Down move the program line, the other
    // keys the list's caret; Space and Enter choose the code under it.
    const ListKey key = ListView::keyFor(static_cast<QKeyEvent*>(event)->key());
    if (key == ListKey::Other)
        return false;
    guarded("Form_KeyDown", [&]() { m_editor->codeListKey(list, key); });
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (m_editor && m_editor->flags().copyMode && routeCopyKey(watched, event))
        return true;
    if (watched == centralWidget()) {
        if (event->type() == QEvent::Resize && !m_resizing)
            layoutControls();
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == m_picGcode || watched == m_picMcode) {
        if (codeListEvent(watched, event))
            return true;
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == m_txtNotes) {
        if (event->type() == QEvent::ShortcutOverride && isWindowShortcut(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    // The buttons: Up and Down move the shown line, as everywhere in the window.
    const bool button = watched == m_cmdInsert || watched == m_cmdDelete || watched == m_cmdUndo || watched == m_cmdRedo;
    if (button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            guarded("Form_KeyDown", [&]() { key == Qt::Key_Up ? m_editor->lineUp() : m_editor->lineDown(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::buildPreview()
{
    m_preview = new ToolpathDock(*m_editor, this);
    auto* view = new QMenu(QStringLiteral("&Ansicht"), this);
    view->setObjectName(QStringLiteral("mnuV"));
    view->addAction(m_preview->toggleViewAction());
    QMenu* run = view->addMenu(QStringLiteral("&Testlauf"));
    run->setObjectName(QStringLiteral("mnuVRun"));
    run->addActions(m_preview->runActions());
    menuBar()->insertMenu(m_transferMenu->menuAction(), view);
    m_preview->applySetting(m_state.settings().previewPane());
    // A click on a move picks its row as a click in the program list would.
    connect(m_preview, &ToolpathDock::rowChosen, this, [this](int row) {
        guarded("picPreview_Click", [&]() {
            if (!m_editor->flags().copyMode && row >= 1 && row <= m_editor->rowCount())
                m_editor->programList().ListSetIndex(row);
        });
    });
    m_preview->setMaterialSetting(m_state.settings().runMaterial());
    // A billet or block the user sets is remembered at once and changes the warnings.
    connect(m_preview, &ToolpathDock::materialSet, this, [this]() {
        m_state.settings().setRunMaterial(m_preview->materialSetting());
        if (m_checkPanel)
            m_checkPanel->programChanged();
    });
    m_preview->programChanged();
}

}  // namespace quillon
