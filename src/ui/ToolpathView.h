#pragma once

#include "preview/ToolpathRenderer.h"

#include <QWidget>

namespace quillon {

// picPreview: paints a toolpath with the shared renderer. The wheel zooms
// about the pointer, dragging pans, a double click fits the drawing again,
// and a click on a move reports that move's row. Once clicked, the keys do
// the same: + and - zoom about the middle, the arrows pan, 0 fits. Until the user zooms or
// pans, the drawing is fitted to the widget on every change.
class ToolpathView : public QWidget {
    Q_OBJECT
public:
    explicit ToolpathView(QWidget* parent = nullptr);

    void setToolpath(Toolpath path);
    const Toolpath& toolpath() const { return m_path; }
    void setPlane(PreviewPlane plane);
    PreviewPlane plane() const { return m_plane; }
    // 0-based row whose moves are highlighted; -1 for none.
    void setCurrentRow(int row);
    int currentRow() const { return m_row; }
    // What a test run adds: the moves not yet made faint, the tool.
    void setRun(const RunDrawing& run);
    const RunDrawing& run() const { return m_run; }

    const ToolpathViewport& viewport() const { return m_viewport; }
    // True while the drawing follows the widget's size (no zoom or pan since).
    bool fitted() const { return m_fitted; }
    void fitToView();

    QSize sizeHint() const override { return {380, 300}; }
    QSize minimumSizeHint() const override { return {160, 120}; }

signals:
    // A move was clicked: its row, 0-based.
    void rowClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void zoomAbout(const QPointF& device, double factor);

    Toolpath m_path;
    PreviewPlane m_plane = PreviewPlane::LatheXZ;
    ToolpathViewport m_viewport;
    int m_row = -1;
    RunDrawing m_run;
    bool m_fitted = true;
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPos;
    QPointF m_lastPos;
};

}  // namespace quillon
