#pragma once

#include "preview/PreviewPlane.h"
#include "shell/PreviewPaneSetting.h"

#include <QDockWidget>
#include <QTimer>

class QMainWindow;
class QToolButton;

namespace quillon {

class Editor;
class ToolpathView;

// dockPreview, "Werkzeugweg": the tool path of the editor's program in a
// pane the user shows, hides, detaches and docks again. It reads the
// program from the editor after every change (gathered into one redraw per
// burst) and asks for a row through rowChosen; it never changes the program.
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

    // Docks, detaches, sizes and shows the pane as the settings say.
    void applySetting(const PreviewPaneSetting& setting);
    // The pane as it stands, for the settings file.
    PreviewPaneSetting setting() const;

signals:
    // A move of this row (1-based) was clicked.
    void rowChosen(int row);

private:
    void rebuild();
    // Widens (or heightens) the window's minimum by the docked pane, so the
    // form keeps the room it has without the pane.
    void keepFormRoom();

    const Editor& m_editor;
    QMainWindow* m_window;
    ToolpathView* m_view = nullptr;
    QToolButton* m_top = nullptr;
    QToolButton* m_side = nullptr;
    QTimer m_rebuild;
    bool m_stale = true;
    QSize m_windowMinimum;
};

}  // namespace quillon
