#include "ToolpathView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace quillon {

namespace {

// Movement (pixels) that turns a press into a drag rather than a click.
constexpr double kDragStart = 4.0;
// Zoom per wheel notch or key press.
constexpr double kZoomStep = 1.25;
// Share of the pane an arrow key pans by.
constexpr double kPanStep = 0.1;

}  // namespace

ToolpathView::ToolpathView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click takes the focus, so a field being edited is left (and checked)
    // before the clicked row is selected, as with a click in the list.
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
    setToolTip(QStringLiteral("Klick: Zeile wählen, Rad oder +/-: Zoom, Ziehen oder Pfeiltasten: verschieben, "
                              "Doppelklick oder 0: einpassen"));
}

void ToolpathView::setToolpath(Toolpath path)
{
    m_path = std::move(path);
    if (m_fitted)
        fitToView();
    update();
}

void ToolpathView::setPlane(PreviewPlane plane)
{
    if (plane == m_plane)
        return;
    m_plane = plane;
    fitToView();
}

void ToolpathView::setCurrentRow(int row)
{
    if (row == m_row)
        return;
    m_row = row;
    update();
}

void ToolpathView::setRun(const RunDrawing& run)
{
    // The billet or block of a run may reach beyond the path.
    const bool refit = m_fitted && (run.material || m_run.material);
    m_run = run;
    if (refit)
        fitToView();
    update();
}

void ToolpathView::fitToView()
{
    m_viewport = ToolpathRenderer::fit(m_path, m_plane, QRectF(rect()), m_run);
    m_fitted = true;
    update();
}

void ToolpathView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ToolpathRenderer::paint(painter, m_path, m_plane, m_viewport, QRectF(rect()), m_row, m_run);
}

void ToolpathView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fitted)
        fitToView();
}

void ToolpathView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPos = m_lastPos = event->position();
}

void ToolpathView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed)
        return;
    const QPointF pos = event->position();
    if (!m_dragging) {
        const QPointF moved = pos - m_pressPos;
        if (std::hypot(moved.x(), moved.y()) < kDragStart)
            return;
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    m_viewport.pan(pos - m_lastPos);
    m_lastPos = pos;
    m_fitted = false;
    update();
}

void ToolpathView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (m_dragging) {
        m_dragging = false;
        setCursor(Qt::CrossCursor);
        return;
    }
    // The note of a walk that stopped leads to the row it stopped on.
    if (m_path.stopRow >= 0 && ToolpathRenderer::stopMessageRect(m_path, QRectF(rect())).contains(event->position())) {
        emit rowClicked(m_path.stopRow);
        return;
    }
    const int row = ToolpathRenderer::rowAt(m_path, m_plane, m_viewport, event->position());
    if (row >= 0)
        emit rowClicked(row);
}

void ToolpathView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        fitToView();
}

void ToolpathView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    zoomAbout(event->position(), std::pow(kZoomStep, notches));
    event->accept();
}

void ToolpathView::zoomAbout(const QPointF& device, double factor)
{
    m_viewport.zoomAbout(device, factor);
    m_fitted = false;
    update();
}

void ToolpathView::keyPressEvent(QKeyEvent* event)
{
    const QPointF middle = QRectF(rect()).center();
    const QPointF step(width() * kPanStep, height() * kPanStep);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // + without Shift on many layouts
        zoomAbout(middle, kZoomStep);
        break;
    case Qt::Key_Minus:
        zoomAbout(middle, 1.0 / kZoomStep);
        break;
    case Qt::Key_0:
    case Qt::Key_Home:
        fitToView();
        break;
    // The arrows move the view over the drawing, so the drawing goes the other way.
    case Qt::Key_Left:
        m_viewport.pan(QPointF(step.x(), 0));
        break;
    case Qt::Key_Right:
        m_viewport.pan(QPointF(-step.x(), 0));
        break;
    case Qt::Key_Up:
        m_viewport.pan(QPointF(0, step.y()));
        break;
    case Qt::Key_Down:
        m_viewport.pan(QPointF(0, -step.y()));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() >= Qt::Key_Left && event->key() <= Qt::Key_Down) {
        m_fitted = false;
        update();
    }
    event->accept();
}

}  // namespace quillon
