#pragma once

#include "preview/PreviewPlane.h"
#include "preview/TestRun.h"
#include "shell/PreviewPaneSetting.h"

#include <QDockWidget>
#include <QTimer>

class QAction;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QToolButton;
class QHBoxLayout;
class QVBoxLayout;

namespace quillon {

class Editor;
class ToolpathView;

// dockPreview, "Werkzeugweg": the tool path of the editor's program in a
// pane the user shows, hides, detaches and docks again. It reads the
// program from the editor after every change (gathered into one redraw per
// burst) and asks for a row through rowChosen; it never changes the program.
//
// Its test run steps through the program on the drawing, one line a step
// (F10, back Shift+F10) or timed (F5 runs and pauses, at the chosen speed),
// and asks for each line's row as a click on its move would. The run pauses
// when the program is changed or a field of the form is being edited; a
// paused run follows edits and stays where it was.
class ToolpathDock : public QDockWidget {
    Q_OBJECT
public:
    ToolpathDock(const Editor& editor, QMainWindow* window);

    ToolpathView* view() const { return m_view; }
    // The program changed: draw it anew once the current burst of changes is over.
    void programChanged();
    // The form shows `row` (1-based, 0 for none): its moves are highlighted.
    void currentRowChanged(int row);

    // The mill's two views; the lathe has only its own.
    PreviewPlane plane() const;
    void setPlane(PreviewPlane plane);

    const TestRun& testRun() const { return m_run; }
    bool running() const { return m_runTimer.isActive(); }
    // The commands of the test run, for the View menu: Anfang, Zurück,
    // Schritt, Start/Pause, Ende. Their keys work wherever the window is
    // active while the pane is shown.
    QList<QAction*> runActions() const;
    // The billet or block the run starts from, as set in the pane, in the
    // units given: the program check warns from the same material.
    MaterialSetup materialSetup(bool inch) const;
    // The billet and block inputs, as the settings keep them.
    void setMaterialSetting(const RunMaterialSetting& setting);
    RunMaterialSetting materialSetting() const;

    // Docks, detaches, sizes and shows the pane as the settings say.
    void applySetting(const PreviewPaneSetting& setting);
    // The pane as it stands, for the settings file.
    PreviewPaneSetting setting() const;

signals:
    // A move of this row (1-based) was clicked, a warning chosen or the run
    // went to the row.
    void rowChosen(int row);
    // The user set the billet or block anew: the warnings may change.
    void materialSet();

private:
    void rebuild();
    void buildRunBar(QWidget* body, QVBoxLayout* column);
    void buildMaterialBar(QWidget* body, QVBoxLayout* column, QHBoxLayout* top);
    // The billet or block as set, in the program's units, to the run; false
    // when it was so already.
    bool applyMaterial();
    // The test run's warnings, as the program check lists them.
    void listWarnings();
    // Leaves a field being edited (which checks it) before the run moves the form.
    void takeFocus();
    void runTick();
    void setRunning(bool running);
    // Draws the run's state and, when `follow`, shows its line in the form.
    void showRun(bool follow);
    // Widens (or heightens) the window's minimum by the docked pane, so the
    // form keeps the room it has without the pane.
    void keepFormRoom();

    const Editor& m_editor;
    QMainWindow* m_window;
    ToolpathView* m_view = nullptr;
    QToolButton* m_top = nullptr;
    QToolButton* m_side = nullptr;
    QTimer m_rebuild;
    TestRun m_run;
    QTimer m_runTimer;
    QAction* m_runStart = nullptr;
    QAction* m_runBack = nullptr;
    QAction* m_runStep = nullptr;
    QAction* m_runPlay = nullptr;
    QAction* m_runEnd = nullptr;
    QComboBox* m_speed = nullptr;
    QLabel* m_runLine = nullptr;
    QDoubleSpinBox* m_billet = nullptr;
    double m_userBillet = RunMaterialSetting().billetDiameter;  // mm; shown unless the description names one
    QDoubleSpinBox* m_block[3] = {};
    QListWidget* m_warnings = nullptr;
    bool m_stale = true;
    QSize m_windowMinimum;
    RunMaterialSetting m_material;  // as read at the start; the other machine's sizes stay so
};

}  // namespace quillon
