#pragma once

#include "editing/Editor.h"
#include "editing/EditorView.h"
#include "editing/FileCommands.h"
#include "shell/MachineSelection.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <memory>

class QAction;
class QActionGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace quillon {

class CopyPanel;
class ExportDialogs;
class LineForm;

class ApplicationState;
class HelpWindow;
class ListView;
class MessageSink;
class ProgramCheckPanel;
class TipPopup;
class SplashWindow;
class ToolpathDock;

// frmQuillon, the editor window. It builds the controls, forwards their
// events to the Editor and renders what the Editor tells it; the editing
// rules live in the Editor.
class MainWindow : public QMainWindow, private EditorView, private FileCommandsHost {
    Q_OBJECT
public:
    // Stand-ins for the modal dialogs, so that tests run without them.
    using FileDialog = std::function<QString(const QString& title, bool forOpening, const QString& folder)>;
    using OpenNotice = std::function<bool()>;
    using MachineChooser = std::function<std::optional<MachineSetting>(MachineType current, bool woodworker)>;

    // Twips per pixel at 96 dpi: `Win` keeps its positions in twips.
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kMinWidthTwips = 9600;
    static constexpr int kMinHeightTwips = 7200;

    MainWindow(ApplicationState& state, MessageSink& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    Editor& editor() { return *m_editor; }
    FileCommands& files() { return *m_files; }
    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    void setOpenNotice(OpenNotice notice) { m_openNotice = std::move(notice); }
    void setMachineChooser(MachineChooser chooser) { m_machineChooser = std::move(chooser); }
    // The File menu's recent-file entry `index` (0 the most recent).
    void mnuFmru_Click(int index);
    // The program file named on the command line, read as Open reads it.
    void openAtStart(const QString& path);
    // File menu "Maschinen Typ ändern": question, settings, then
    // machineChangeRequested so that the application rebuilds the window.
    void changeMachine();
    bool machineChanging() const { return m_machineChanging; }
    // The splash window the first command closes; not owned, may be null.
    void setSplash(SplashWindow* splash) { m_splash = splash; }

    // The toolbar's and the menus' one entry point ("New", "Open", "Save",
    // "Copy", "Print", "Send", "Receive", "Exit"); unknown keys do nothing.
    void DispatchAction(const QString& key);
    // Enables or disables the commands of the toolbar and File menu while a
    // command runs; Save As always follows Save.
    void CommandState(bool enabled);

    // Writes the program as it stands to the recovery file beside the
    // settings; the error report's extra line naming it, or "".
    QString saveRecovery() const;

    // The `Win` value for the window as it stands: left, top, width, height in twips.
    QString winSetting() const override;
    // Places the window from a `Win` value; "none" (or anything unreadable)
    // gives 9600 x 7200 twips centred on the screen.
    void placeFromWinSetting(const QString& win);

signals:
    // The machine of this run has changed; this window is to be replaced by
    // one built for the new machine.
    void machineChangeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // EditorView
    void setLabelText(FormLabel label, const QString& text) override;
    void setLabelVisible(FormLabel label, bool visible) override;
    void setFieldText(FormField field, const QString& text) override;
    void setFieldVisible(FormField field, bool visible) override;
    void setFieldEnabled(FormField field, bool enabled) override;
    void selectFieldText(FormField field, int start, int length) override;
    void focusField(FormField field) override;
    void focusProgramList() override;
    void focusCodeList(ListId list) override;
    void setCommandEnabled(Command command, bool enabled) override;
    void setCommandToolTip(Command command, const QString& tip) override;
    void setCodeLabelYellow(bool yellow) override;
    void setCodeFramePrompt(bool prompt) override;
    void setUnits(Units units) override;
    void setCaption(const QString& caption) override;
    void startFocusTimer() override;
    int intStdMsgBox(const QString& message, int style, const QString& title) override;
    void setCopyStage(CopyStage stage, const QString& instructions) override;
    void setCopyEntries(const QString& insert, const QString& copies) override;
    void setNextEnabled(bool enabled) override;
    void commandState(bool enabled) override;
    void programChanged() override;
    void currentRowChanged(int row) override;
    // FileCommandsHost
    QString chooseFile(const QString& title, bool forOpening, const QString& folder) override;
    bool showOpenNotice() override;

    void buildControls();
    void buildMenus();
    void buildToolbar();
    void defineLists();
    void layoutControls();
    void connectFields();
    void rebuildRecentMenu();
    void exitProgram();
    void buildCopyPanel();
    // While lines are copied every key of the window goes to the program list.
    bool routeCopyKey(QObject* watched, QEvent* event);
    bool codeListEvent(QObject* watched, QEvent* event);
    void printListing();
    void previewListing();
    void exportProgram();
    void showHelp();
    void showAbout();
    void setPort(const QString& port);
    // The port entries, with the adapters found now; the menu reads them
    // again each time it opens, so the window's start does not wait for them.
    void rebuildPortMenu();
    void refillPortMenu(bool findAdapters);
    void sendProgram();
    void receiveProgram();
    void showCableHelp();
    // Edit menu "Programm prüfen" (F7): checks the program and shows the panel.
    void showProgramCheck();
    void buildPreview();
    QWidget* fieldWidget(FormField field) const;
    QLabel* labelWidget(FormLabel label) const;
    // Runs an event's work under the trace log and the error report.
    void guarded(const char* procedure, const std::function<void()>& action);

    ApplicationState& m_state;
    MessageSink& m_messages;
    std::unique_ptr<Editor> m_editor;
    SplashWindow* m_splash = nullptr;
    HelpWindow* m_help = nullptr;
    ProgramCheckPanel* m_checkPanel = nullptr;  // made on the first check
    std::unique_ptr<ExportDialogs> m_exportDialogs;  // kept so the tool dialog remembers its speed
    std::unique_ptr<FileCommands> m_files;
    FileDialog m_fileDialog;
    OpenNotice m_openNotice;
    MachineChooser m_machineChooser;
    QMenu* m_fileMenu = nullptr;
    QAction* m_mruEnd = nullptr;  // the separator mnuF4 below the recent files
    std::vector<QAction*> m_mruActions;
    TipPopup* m_tip = nullptr;
    ToolpathDock* m_preview = nullptr;
    QTimer m_tmrExit;
    bool m_shuttingDown = false;
    bool m_machineChanging = false;

    QToolBar* m_toolbar = nullptr;
    std::map<QString, QAction*> m_toolActions;
    std::map<QString, QAction*> m_menuActions;
    QMenu* m_transferMenu = nullptr;
    QAction* m_transferSeparator = nullptr;  // the toolbar's, behind Receive
    qsizetype m_portsStart = 0;  // the port entries follow the transfer commands

    ListView* m_picList = nullptr;
    ListView* m_picGcode = nullptr;
    ListView* m_picMcode = nullptr;
    LineForm* m_form = nullptr;
    CopyPanel* m_copyPanel = nullptr;
    QPushButton* m_cmdInsert = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdUndo = nullptr;
    QPushButton* m_cmdRedo = nullptr;
    QGroupBox* m_fraNotes = nullptr;
    QPlainTextEdit* m_txtNotes = nullptr;
    QWidget* m_picUnits = nullptr;
    QLabel* m_lblUnits = nullptr;
    QTimer m_tmrSetFocus;

    bool m_codeYellow = false;
    bool m_framePrompt = false;
    int m_programWrite = 0;  // > 0 while the program itself writes a field
    bool m_resizing = false;
};

}  // namespace quillon
