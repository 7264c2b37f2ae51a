#include "ToolpathDock.h"

#include "ToolpathView.h"
#include "editing/Editor.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

// `Win` and the pane's place are kept in twips; 15 twips a pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
// The form's height at the window's smallest size, below menu and toolbar.
constexpr int kFormMinimumHeight = 400;

Qt::DockWidgetArea areaOf(PaneSide side)
{
    switch (side) {
    case PaneSide::Left: return Qt::LeftDockWidgetArea;
    case PaneSide::Right: return Qt::RightDockWidgetArea;
    case PaneSide::Top: return Qt::TopDockWidgetArea;
    case PaneSide::Bottom: return Qt::BottomDockWidgetArea;
    }
    return Qt::RightDockWidgetArea;
}

PaneSide sideOf(Qt::DockWidgetArea area)
{
    switch (area) {
    case Qt::LeftDockWidgetArea: return PaneSide::Left;
    case Qt::TopDockWidgetArea: return PaneSide::Top;
    case Qt::BottomDockWidgetArea: return PaneSide::Bottom;
    default: return PaneSide::Right;
    }
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

ToolpathDock::ToolpathDock(const Editor& editor, QMainWindow* window)
    : QDockWidget(QStringLiteral("Werkzeugweg"), window), m_editor(editor), m_window(window)
{
    setObjectName(QStringLiteral("dockPreview"));
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("picPreviewBody"));
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    m_top = toolButton(body, "cmdPreviewTop", QStringLiteral("Draufsicht"), QStringLiteral("X/Y, von oben gesehen"));
    m_side = toolButton(body, "cmdPreviewSide", QStringLiteral("Seitenansicht"), QStringLiteral("X/Z, von vorn gesehen"));
    auto* fit = toolButton(body, "cmdPreviewFit", QStringLiteral("Einpassen"),
                           QStringLiteral("Den ganzen Werkzeugweg zeigen (auch Doppelklick)"));
    auto* views = new QButtonGroup(this);
    for (QToolButton* b : {m_top, m_side}) {
        b->setCheckable(true);
        views->addButton(b);
        bar->addWidget(b);
        // The lathe is drawn in its one plane only.
        b->setVisible(m_editor.machine() == MachineType::F1);
    }
    m_top->setChecked(true);
    bar->addStretch(1);
    bar->addWidget(fit);
    column->addLayout(bar);
    m_view = new ToolpathView(body);
    m_view->setPlane(defaultPlane(m_editor.machine()));
    column->addWidget(m_view, 1);
    setWidget(body);

    toggleViewAction()->setObjectName(QStringLiteral("mnuVPreview"));
    toggleViewAction()->setText(QStringLiteral("Werkzeugweg"));
    toggleViewAction()->setShortcut(QKeySequence(Qt::Key_F8));

    m_rebuild.setSingleShot(true);
    m_rebuild.setInterval(0);
    connect(&m_rebuild, &QTimer::timeout, this, &ToolpathDock::rebuild);
    // While hidden the pane does no work; it catches up when shown.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && m_stale)
            m_rebuild.start();
    });
    m_windowMinimum = window->minimumSize();
    connect(this, &QDockWidget::visibilityChanged, this, &ToolpathDock::keepFormRoom);
    connect(this, &QDockWidget::topLevelChanged, this, &ToolpathDock::keepFormRoom);
    connect(this, &QDockWidget::dockLocationChanged, this, &ToolpathDock::keepFormRoom);
    connect(m_top, &QToolButton::clicked, this, [this]() { setPlane(PreviewPlane::MillTop); });
    connect(m_side, &QToolButton::clicked, this, [this]() { setPlane(PreviewPlane::MillSide); });
    connect(fit, &QToolButton::clicked, m_view, &ToolpathView::fitToView);
    connect(m_view, &ToolpathView::rowClicked, this, [this](int row) { emit rowChosen(row + 1); });
}

void ToolpathDock::programChanged()
{
    m_stale = true;
    if (!isHidden())
        m_rebuild.start();
}

void ToolpathDock::currentRowChanged(int row)
{
    m_view->setCurrentRow(row - 1);
}

void ToolpathDock::rebuild()
{
    m_stale = false;
    m_view->setToolpath(buildToolpath(m_editor.program(), m_editor.machine()));
    m_view->setCurrentRow(m_editor.shownRow() - 1);
}

void ToolpathDock::keepFormRoom()
{
    // Without the docked pane everything is as the window has it alone.
    QSize minimum = m_windowMinimum;
    QSize form(0, 0);
    if (!isHidden() && !isFloating()) {
        const QSize pane = minimumSizeHint();
        const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this) + 2;
        switch (m_window->dockWidgetArea(this)) {
        case Qt::LeftDockWidgetArea:
        case Qt::RightDockWidgetArea:
            minimum.rwidth() += pane.width() + separator;
            form.setWidth(m_windowMinimum.width());
            break;
        case Qt::TopDockWidgetArea:
        case Qt::BottomDockWidgetArea:
            minimum.rheight() += pane.height() + separator;
            form.setHeight(kFormMinimumHeight);
            break;
        default: break;
        }
    }
    if (QWidget* central = m_window->centralWidget())
        central->setMinimumSize(form);
    m_window->setMinimumSize(minimum);
}

PreviewPlane ToolpathDock::plane() const
{
    return m_view->plane();
}

void ToolpathDock::setPlane(PreviewPlane plane)
{
    if (m_editor.machine() != MachineType::F1)
        return;
    m_view->setPlane(plane);
    m_top->setChecked(plane == PreviewPlane::MillTop);
    m_side->setChecked(plane == PreviewPlane::MillSide);
}

void ToolpathDock::applySetting(const PreviewPaneSetting& s)
{
    setPlane(s.sideView ? PreviewPlane::MillSide : PreviewPlane::MillTop);
    // Hidden while it is placed, so that the window's minimum does not grow
    // (and the window with it) for a pane that is to stay hidden.
    hide();
    m_window->addDockWidget(areaOf(s.side), this);
    setFloating(s.floating);
    if (s.placement) {
        const QRect r(s.placement->left / kTwipsPerPixel, s.placement->top / kTwipsPerPixel,
                      s.placement->width / kTwipsPerPixel, s.placement->height / kTwipsPerPixel);
        if (s.floating) {
            // A place on a screen that is no longer there would leave the
            // pane out of reach: it then opens over the middle of the window.
            QRect place = r;
            if (!QGuiApplication::screenAt(r.center()))
                place.moveCenter(m_window->geometry().center());
            setGeometry(place);
        } else {
            const bool across = s.side == PaneSide::Left || s.side == PaneSide::Right;
            m_window->resizeDocks({this}, {across ? r.width() : r.height()}, across ? Qt::Horizontal : Qt::Vertical);
            resize(r.size());
        }
    }
    setVisible(s.visible);
    keepFormRoom();
}

PreviewPaneSetting ToolpathDock::setting() const
{
    PreviewPaneSetting s;
    s.visible = !isHidden();
    s.floating = isFloating();
    s.side = sideOf(m_window->dockWidgetArea(const_cast<ToolpathDock*>(this)));
    const QRect r = geometry();
    s.placement = WindowPlacement{r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel,
                                  r.height() * kTwipsPerPixel};
    s.sideView = plane() == PreviewPlane::MillSide;
    return s;
}

}  // namespace quillon
