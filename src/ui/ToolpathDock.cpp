#include "ToolpathDock.h"

#include "ScreenFit.h"
#include "StandardIconEngine.h"
#include "ToolpathView.h"
#include "check/ProgramCheck.h"
#include "editing/Editor.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

// `Win` and the pane's place are kept in twips; 15 twips a pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
// The form's height at the window's smallest size, below menu and toolbar.
constexpr int kFormMinimumHeight = 400;

// The test run's speeds: lines a second, and the pause between two lines.
struct RunSpeed {
    const char* text;
    int interval;  // ms
};
constexpr RunSpeed kRunSpeeds[] = {{"1 Zeile/s", 1000}, {"2 Zeilen/s", 500}, {"5 Zeilen/s", 200},
                                   {"10 Zeilen/s", 100}, {"25 Zeilen/s", 40}};
constexpr int kDefaultRunSpeed = 2;

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
    buildRunBar(body, column);
    buildMaterialBar(body, column, bar);
    m_view = new ToolpathView(body);
    m_view->setPlane(defaultPlane(m_editor.machine()));
    column->addWidget(m_view, 1);
    m_warnings = new QListWidget(body);
    m_warnings->setObjectName(QStringLiteral("lstRunWarnings"));
    m_warnings->setToolTip(QStringLiteral("Warnungen des Testlaufs, wie Programm prüfen (F7) sie zeigt; "
                                          "Doppelklick wählt die Zeile"));
    m_warnings->setIconSize(QSize(16, 16));
    m_warnings->setMaximumHeight(4 * std::max(m_warnings->fontMetrics().height(), 18) + 8);
    m_warnings->hide();
    column->addWidget(m_warnings);
    setWidget(body);
    connect(m_warnings, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit rowChosen(item->data(Qt::UserRole).toInt() + 1); });

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
    // The run's keys belong to the shown pane only.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            setRunning(false);
        for (QAction* a : runActions())
            a->setEnabled(visible);
    });
    for (QAction* a : runActions())
        a->setEnabled(false);
    showRun(false);
}

void ToolpathDock::buildRunBar(QWidget* body, QVBoxLayout* column)
{
    const auto action = [&](const char* name, QStyle::StandardPixmap icon, const QString& text, const QString& tip,
                            const QKeySequence& key) {
        auto* a = new QAction(lazyStandardIcon(icon), text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
        // Reached from the main window and from the detached pane alike.
        m_window->addAction(a);
        addAction(a);
        return a;
    };
    m_runStart = action("mnuRunStart", QStyle::SP_MediaSkipBackward, QStringLiteral("Anfang"),
                        QStringLiteral("Testlauf an den Anfang: noch keine Zeile gelaufen"),
                        QKeySequence(Qt::SHIFT | Qt::Key_F5));
    m_runBack = action("mnuRunBack", QStyle::SP_MediaSeekBackward, QStringLiteral("Zeile zurück"),
                       QStringLiteral("Eine Programmzeile zurück"), QKeySequence(Qt::SHIFT | Qt::Key_F10));
    m_runStep = action("mnuRunStep", QStyle::SP_MediaSeekForward, QStringLiteral("Zeile weiter"),
                       QStringLiteral("Eine Programmzeile weiter"), QKeySequence(Qt::Key_F10));
    m_runPlay = action("mnuRunPlay", QStyle::SP_MediaPlay, QStringLiteral("Start/Pause"),
                       QStringLiteral("Testlauf starten oder anhalten"), QKeySequence(Qt::Key_F5));
    m_runEnd = action("mnuRunEnd", QStyle::SP_MediaSkipForward, QStringLiteral("Ende"),
                      QStringLiteral("Das ganze Programm auf einmal laufen lassen"),
                      QKeySequence(Qt::CTRL | Qt::Key_F5));

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    const char* buttons[] = {"cmdRunStart", "cmdRunBack", "cmdRunStep", "cmdRunPlay", "cmdRunEnd"};
    int i = 0;
    for (QAction* a : runActions()) {
        auto* b = new QToolButton(body);
        b->setObjectName(QString::fromLatin1(buttons[i++]));
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        bar->addWidget(b);
    }
    m_speed = new QComboBox(body);
    m_speed->setObjectName(QStringLiteral("cboRunSpeed"));
    m_speed->setToolTip(QStringLiteral("Tempo des Testlaufs (F5)"));
    for (const RunSpeed& speed : kRunSpeeds)
        m_speed->addItem(QString::fromUtf8(speed.text), speed.interval);
    m_speed->setCurrentIndex(kDefaultRunSpeed);
    m_speed->setFocusPolicy(Qt::ClickFocus);
    bar->addWidget(m_speed);
    m_runLine = new QLabel(body);
    m_runLine->setObjectName(QStringLiteral("lblRunLine"));
    m_runLine->setToolTip(QStringLiteral("Gelaufene Programmzeilen des Testlaufs"));
    bar->addStretch(1);
    bar->addWidget(m_runLine);
    column->addLayout(bar);

    m_runTimer.setInterval(kRunSpeeds[kDefaultRunSpeed].interval);
    connect(&m_runTimer, &QTimer::timeout, this, &ToolpathDock::runTick);
    connect(m_speed, &QComboBox::currentIndexChanged, this,
            [this](int) { m_runTimer.setInterval(m_speed->currentData().toInt()); });
    connect(m_runStart, &QAction::triggered, this, [this]() {
        setRunning(false);
        m_run.begin();
        showRun(true);
    });
    connect(m_runBack, &QAction::triggered, this, [this]() {
        setRunning(false);
        takeFocus();
        if (m_run.stepBack())
            showRun(true);
    });
    connect(m_runStep, &QAction::triggered, this, [this]() {
        setRunning(false);
        takeFocus();
        if (m_run.stepForward())
            showRun(true);
    });
    connect(m_runPlay, &QAction::triggered, this, [this]() {
        if (running()) {
            setRunning(false);
            return;
        }
        takeFocus();
        // A run that stands at its end starts again from the beginning.
        if (!m_run.begun() || m_run.atEnd()) {
            m_run.begin();
            showRun(true);
        }
        setRunning(true);
    });
    connect(m_runEnd, &QAction::triggered, this, [this]() {
        setRunning(false);
        takeFocus();
        m_run.runToEnd();
        showRun(true);
    });
}

void ToolpathDock::buildMaterialBar(QWidget* body, QVBoxLayout* column, QHBoxLayout* top)
{
    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    const auto length = [&](const char* name, double value, const QString& tip) {
        auto* box = new QDoubleSpinBox(body);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1.0, 999.0);
        box->setDecimals(1);
        box->setSuffix(QStringLiteral(" mm"));
        box->setValue(value);
        box->setToolTip(tip);
        box->setKeyboardTracking(false);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, box]() {
            if (box == m_billet)
                m_userBillet = box->value();
            if (applyMaterial() && !m_stale)
                listWarnings();
            emit materialSet();
        });
        return box;
    };
    const RunMaterialSetting defaults;
    if (m_editor.machine() == MachineType::F1) {
        bar->addWidget(new QLabel(QStringLiteral("Block"), body));
        const char* names[] = {"txtRunBlockX", "txtRunBlockY", "txtRunBlockZ"};
        const double values[] = {defaults.blockX, defaults.blockY, defaults.blockZ};
        const QString tips[] = {QStringLiteral("Länge des Blocks in X, ab X 0"),
                                QStringLiteral("Breite des Blocks in Y, ab Y 0"),
                                QStringLiteral("Höhe des Blocks: von Z 0 (Oberseite) nach unten")};
        for (int i = 0; i < 3; ++i) {
            bar->addWidget(new QLabel(QStringLiteral("XYZ").mid(i, 1), body));
            m_block[i] = length(names[i], values[i], tips[i]);
            bar->addWidget(m_block[i]);
        }
    } else {
        // The lathe has no views to switch: its billet takes their place.
        top->insertWidget(0, new QLabel(QStringLiteral("Rohteil ⌀"), body));
        m_billet = length("txtRunBillet", defaults.billetDiameter, QString());
        top->insertWidget(1, m_billet);
        delete bar;
        return;
    }
    bar->addStretch(1);
    column->addLayout(bar);
}

MaterialSetup ToolpathDock::materialSetup(bool inch) const
{
    // Set in mm; an inch program's drawing is in inch.
    const double unit = inch ? 1.0 / 25.4 : 1.0;
    MaterialSetup setup;
    if (m_billet) {
        setup.billetDiameter = m_userBillet * unit;
    } else {
        setup.blockX = m_block[0]->value() * unit;
        setup.blockY = m_block[1]->value() * unit;
        setup.blockZ = m_block[2]->value() * unit;
    }
    return setup;
}

bool ToolpathDock::applyMaterial()
{
    if (m_billet) {
        const std::optional<double> named = m_run.path().billetDiameter;
        // The description's billet wins, as for the export.
        m_billet->setEnabled(!named);
        // It shows the billet the run has: the description's, else the user's.
        const QSignalBlocker blocker(m_billet);
        m_billet->setValue(named ? *named * (m_run.path().inch ? 25.4 : 1.0) : m_userBillet);
        m_billet->setToolTip(named ? QStringLiteral("Den Rohteildurchmesser nennt die Programmbeschreibung "
                                                    "(eine Zeile mit DIAM und BILLET)")
                                   : QStringLiteral("Durchmesser des Rohteils, wenn die Programmbeschreibung keinen "
                                                    "nennt (eine Zeile mit DIAM und BILLET)"));
    }
    const MaterialSetup setup = materialSetup(m_run.path().inch);
    if (m_run.materialSetup() == setup)
        return false;
    m_run.setMaterialSetup(setup);
    showRun(false);
    return true;
}

void ToolpathDock::listWarnings()
{
    m_warnings->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const Finding& f : programWarnings(m_editor.program(), m_editor.machine(), m_run.materialSetup())) {
        auto* item = new QListWidgetItem(icon, f.text(), m_warnings);
        item->setData(Qt::UserRole, f.row);
    }
    m_warnings->setVisible(m_warnings->count() > 0);
}

QList<QAction*> ToolpathDock::runActions() const
{
    return {m_runStart, m_runBack, m_runStep, m_runPlay, m_runEnd};
}

void ToolpathDock::takeFocus()
{
    // As a click on the drawing does: the field is left and checked first.
    if (QWidget* focus = QApplication::focusWidget(); focus && focus->window() == m_window && !isAncestorOf(focus))
        m_view->setFocus(Qt::OtherFocusReason);
}

void ToolpathDock::setRunning(bool running)
{
    if (running)
        m_runTimer.start();
    else
        m_runTimer.stop();
    m_runPlay->setIcon(lazyStandardIcon(running ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void ToolpathDock::runTick()
{
    // A line being typed into the form is not run away from.
    if (m_editor.flags().fieldEditPending || !m_run.stepForward()) {
        setRunning(false);
        return;
    }
    showRun(true);
    if (m_run.atEnd())
        setRunning(false);
}

void ToolpathDock::showRun(bool follow)
{
    RunDrawing drawing;
    if (m_run.begun()) {
        drawing.movesDone = m_run.movesDone();
        drawing.tool = m_run.toolPosition();
        drawing.cutterRadius = m_run.cutterRadius();
        drawing.material = m_run.material();
        m_runLine->setText(QStringLiteral("%1/%2").arg(m_run.linesRun()).arg(m_run.lineCount()));
    } else {
        m_runLine->setText(QString());
    }
    m_view->setRun(drawing);
    // The warning of the line the run stands on, if it has one, is selected.
    m_warnings->clearSelection();
    for (int i = 0; i < m_warnings->count(); ++i) {
        if (m_run.currentRow() >= 0 && m_warnings->item(i)->data(Qt::UserRole).toInt() == m_run.currentRow()) {
            m_warnings->setCurrentRow(i);
            m_warnings->scrollToItem(m_warnings->item(i));
            break;
        }
    }
    if (follow && m_run.currentRow() >= 0)
        emit rowChosen(m_run.currentRow() + 1);
}

void ToolpathDock::programChanged()
{
    // The run waits while the program is changed under it.
    setRunning(false);
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
    m_run.load(m_editor.program(), m_editor.machine());
    applyMaterial();
    listWarnings();
    m_view->setToolpath(m_run.path());
    m_view->setCurrentRow(m_editor.shownRow() - 1);
    showRun(false);
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
    // Grown for the pane, the window would reach past the screen's edge on a
    // small screen and hide the pane's controls there.
    moveInsideScreen(*m_window);
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

void ToolpathDock::setMaterialSetting(const RunMaterialSetting& setting)
{
    m_material = setting;
    m_userBillet = setting.billetDiameter;
    for (int i = 0; i < 3; ++i) {
        if (!m_block[i])
            continue;
        const QSignalBlocker blocker(m_block[i]);
        m_block[i]->setValue(i == 0 ? setting.blockX : i == 1 ? setting.blockY : setting.blockZ);
    }
    if (applyMaterial() && !m_stale)
        listWarnings();
}

RunMaterialSetting ToolpathDock::materialSetting() const
{
    RunMaterialSetting s = m_material;
    s.billetDiameter = m_userBillet;
    if (m_block[0]) {
        s.blockX = m_block[0]->value();
        s.blockY = m_block[1]->value();
        s.blockZ = m_block[2]->value();
    }
    return s;
}

}  // namespace quillon
