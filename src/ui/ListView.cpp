#include "ListView.h"

#include "TipPopup.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>

namespace quillon {

namespace {

// 240 and 120 twips at 15 twips per pixel.
constexpr int kWideBar = 16;
constexpr int kThinBar = 8;
constexpr int kCellMargin = 2;

QColor fromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

const QColor kWhite = fromBgr(0xFFFFFF);
const QColor kGrey = fromBgr(0x808080);
const QColor kLightGrey = fromBgr(0xC0C0C0);
const QColor kCyan = fromBgr(0xFFFF00);
const QColor kYellow = fromBgr(0x00FFFF);

Qt::Alignment toQt(ListAlign align)
{
    switch (align) {
    case ListAlign::Centre: return Qt::AlignHCenter;
    case ListAlign::Right: return Qt::AlignRight;
    case ListAlign::Left: break;
    }
    return Qt::AlignLeft;
}

ListKey toListKey(int key)
{
    switch (key) {
    case Qt::Key_Up: return ListKey::Up;
    case Qt::Key_Down: return ListKey::Down;
    case Qt::Key_Left: return ListKey::Left;
    case Qt::Key_Right: return ListKey::Right;
    case Qt::Key_PageUp: return ListKey::PageUp;
    case Qt::Key_PageDown: return ListKey::PageDown;
    case Qt::Key_Home: return ListKey::Home;
    case Qt::Key_End: return ListKey::End;
    case Qt::Key_Space: return ListKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ListKey::Enter;
    default: return ListKey::Other;
    }
}

}  // namespace

ListView::ListView(const QString& scrollBarName, QWidget* parent)
    : QWidget(parent)
    , scrollBar_(new QScrollBar(Qt::Vertical, this))
{
    scrollBar_->setObjectName(scrollBarName);
    // The scroll bar stands for the list's focus, as the window expects.
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setFocusProxy(this);
    scrollBar_->setEnabled(false);
    scrollBar_->setRange(1, 1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &ListView::onScrollBarValue);

    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    layoutScrollBar();
}

ListView::~ListView()
{
    if (tip_)
        tip_->ownerGone(this);
    if (control_)
        control_->removeObserver(this);
}

ListKey ListView::keyFor(int qtKey)
{
    return toListKey(qtKey);
}

QFont ListView::fixedPitchFont(int pointSize)
{
    // Asked of the font database, which knows every installed family's pitch:
    // a trial font per candidate would load a font engine for each at start.
    // Only installed families are asked; a missing one would be matched anew.
    const QStringList installed = QFontDatabase::families();
    const auto fits = [&](const QString& family) {
        return installed.contains(family) && QFontDatabase::isFixedPitch(family);
    };
    QFont font = fits(QStringLiteral("Courier New"))       ? QFont(QStringLiteral("Courier New"))
                 : fits(QStringLiteral("Liberation Mono")) ? QFont(QStringLiteral("Liberation Mono"))
                                                           : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void ListView::setControl(ListControl* control)
{
    if (control_ == control)
        return;
    if (control_)
        control_->removeObserver(this);
    control_ = control;
    if (control_) {
        control_->addObserver(this);
        control_->ListResize(visibleRowsForHeight(height()), rowHeight());
    }
    syncScrollBar();
    update();
}

void ListView::setColumn(int column, const QString& header, const QString& sample, ListAlign align)
{
    if (control_)
        control_->ListSetColumn(column, header,
                                fontMetrics().horizontalAdvance(sample) + 2 * kCellMargin, align);
}

void ListView::initList()
{
    if (control_)
        control_->ListInit(visibleRowsForHeight(height()), rowHeight());
}

int ListView::headerHeight() const
{
    return fontMetrics().height() + 6;
}

int ListView::rowHeight() const
{
    return fontMetrics().height() + 2;
}

int ListView::visibleRowsForHeight(int height) const
{
    return std::max(0, (height - headerHeight()) / rowHeight());
}

int ListView::rowsWidth() const
{
    return width() - scrollBar_->width();
}

QRect ListView::rowRect(int rowOffset) const
{
    return QRect(0, headerHeight() + rowOffset * rowHeight(), rowsWidth(), rowHeight());
}

QRect ListView::cellRect(int index, int column) const
{
    if (!control_ || !control_->isVisible(index) || column < 1 || column > control_->state().columnCount)
        return {};
    const QRect row = rowRect(index - control_->state().topIndex);
    return QRect(control_->columnLeft(column), row.top(), control_->state().column(column).width,
                 row.height());
}

// --- painting ----------------------------------------------------------------

void ListView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setFont(font());
    const QRect area(0, 0, rowsWidth(), height());
    p.fillRect(event->rect() & area, kLightGrey);
    if (!control_)
        return;
    if (event->rect().intersects(QRect(0, 0, area.width(), headerHeight())))
        paintHeader(p);
    const int visible = control_->state().visibleRows;
    for (int r = 0; r < visible; ++r)
        if (event->rect().intersects(rowRect(r)))
            paintRow(p, r);
}

void ListView::paintHeader(QPainter& p)
{
    const int h = headerHeight();
    const ListState& st = control_->state();
    auto button = [&](const QRect& r, const QString& caption) {
        p.fillRect(r, kLightGrey);
        p.setPen(kWhite);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(kGrey);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(Qt::black);
        p.drawText(r.adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextSingleLine, caption);
    };
    for (int c = 1; c <= st.columnCount; ++c) {
        const ListColumn& col = st.column(c);
        if (col.width > 0)
            button(QRect(control_->columnLeft(c), 0, col.width, h), col.header);
    }
    const int right = control_->totalWidth();
    if (right < rowsWidth())
        button(QRect(right, 0, rowsWidth() - right, h), QString());
}

void ListView::paintRow(QPainter& p, int rowOffset)
{
    const ListState& st = control_->state();
    const QRect r = rowRect(rowOffset);
    const int index = st.topIndex + rowOffset;
    const bool entry = index >= 1 && index <= control_->count();
    const ListItem* it = entry ? &control_->item(index) : nullptr;

    QColor back = kWhite;
    if (it && it->marked)
        back = st.selectionMode == SelectionMode::MultiMark ? kYellow : kCyan;
    p.fillRect(r, back);

    if (it) {
        p.setPen(fromBgr(it->colour));
        for (int c = 1; c <= st.columnCount; ++c) {
            const ListColumn& col = st.column(c);
            const QRect cell(control_->columnLeft(c), r.top(), col.width, r.height());
            if (cell.width() <= 0 || cell.left() >= r.right())
                continue;
            // drawText clips to its rectangle, which keeps the text inside the cell.
            p.drawText(cell.adjusted(kCellMargin, 0, -kCellMargin, 0),
                       toQt(col.align) | Qt::AlignVCenter | Qt::TextSingleLine, it->column(c));
        }
    }

    p.setPen(kGrey);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    for (int c = 1; c <= st.columnCount; ++c) {
        const int x = control_->columnLeft(c + 1) - 1;
        if (x < r.right())
            p.drawLine(x, r.top(), x, r.bottom());
    }

    if (it && st.hasFocus && index == st.caretIndex) {
        QPen dotted(Qt::black);
        dotted.setStyle(Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -2));
    }
}

// --- geometry and scroll bar -------------------------------------------------

void ListView::layoutScrollBar()
{
    const bool wide = control_ && control_->scrollBar().wide;
    const int w = wide ? kWideBar : kThinBar;
    scrollBar_->setGeometry(width() - w, 0, w, height());
}

void ListView::syncScrollBar()
{
    const int oldWidth = scrollBar_->width();
    syncing_ = true;
    if (control_) {
        const ListScrollBar& sb = control_->scrollBar();
        scrollBar_->setRange(sb.minimum, sb.maximum);
        scrollBar_->setSingleStep(sb.smallChange);
        scrollBar_->setPageStep(sb.largeChange);
        scrollBar_->setValue(sb.value);
        scrollBar_->setEnabled(sb.enabled);
    } else {
        scrollBar_->setRange(1, 1);
        scrollBar_->setEnabled(false);
    }
    syncing_ = false;
    layoutScrollBar();
    if (scrollBar_->width() != oldWidth)
        update();  // the rows area changed width
}

void ListView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutScrollBar();
    if (control_)
        control_->ListResize(visibleRowsForHeight(height()), rowHeight());
}

void ListView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && control_)
        control_->ListResize(visibleRowsForHeight(height()), rowHeight());
}

void ListView::onScrollBarValue(int value)
{
    if (!syncing_ && control_)
        control_->ListScroll(value);
}

// --- input -------------------------------------------------------------------

void ListView::keyPressEvent(QKeyEvent* event)
{
    if (!control_ || !control_->ListKeyDown(toListKey(event->key())))
        event->ignore();
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    if (!control_ || (leftButtonOnly_ && event->button() != Qt::LeftButton)) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int y = qRound(event->position().y());
    if (y < headerHeight())
        control_->ListMouseDown(-1);
    else
        control_->ListMouseDown((y - headerHeight()) / rowHeight());
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press before it already selected the row; a second toggle would undo that.
    if (!control_)
        return;
    const int y = qRound(event->position().y());
    if (y < headerHeight())
        return;
    const int index = control_->itemAtRow((y - headerHeight()) / rowHeight());
    if (index > 0 && control_->item(index).enabled)
        emit itemDoubleClicked(index);
}

void ListView::mouseMoveEvent(QMouseEvent* event)
{
    showTipFor(event->position().toPoint());
}

void ListView::setTipPopup(TipPopup* tip)
{
    if (tip_ && tip_ != tip)
        tip_->ownerGone(this);
    tip_ = tip;
}

void ListView::showTipFor(const QPoint& pos)
{
    if (!tip_ || !control_)
        return;
    int index = 0;
    int column = 0;
    if (pos.y() >= headerHeight() && pos.x() < rowsWidth()) {
        index = control_->itemAtRow((pos.y() - headerHeight()) / rowHeight());
        column = control_->columnAt(pos.x());
    }
    if (index > 0 && column > 0) {
        const QString& text = control_->item(index).column(column);
        const QRect cell = cellRect(index, column);
        if (fontMetrics().horizontalAdvance(text) + 2 * kCellMargin > cell.width()) {
            tip_->listDisplay(this, index, column, QRect(mapToGlobal(cell.topLeft()), cell.size()),
                              font(), text);
            return;
        }
    }
    tip_->listNoCutCell(this);
}

bool ListView::tipOwnerUsable() const
{
    return isVisible() && isEnabled() && control_;
}

void ListView::tipClicked(int row)
{
    setFocus(Qt::MouseFocusReason);
    if (control_)
        control_->ListClickItem(row);
}

void ListView::wheelEvent(QWheelEvent* event)
{
    if (!wheelEnabled_ || !control_) {
        event->ignore();
        return;
    }
    // One page per notch (120 units); smooth devices add up to a notch first.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0)
        control_->ListWheel(notches);
    event->accept();
}

void ListView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (control_)
        control_->ListGotFocus();
}

void ListView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (control_)
        control_->ListLostFocus();
}

// --- ListObserver ------------------------------------------------------------

void ListView::listRowsToDraw(const ListControl& list, const std::vector<int>& positions)
{
    for (int pos : positions)
        update(rowRect(pos - list.state().topIndex));
}

void ListView::listScrolled(const ListControl& list, int rows)
{
    // A tip would now stand over another row.
    if (tip_)
        tip_->listNoCutCell(this);
    const int visible = list.state().visibleRows;
    const QRect area(0, headerHeight(), rowsWidth(), visible * rowHeight());
    if (std::abs(rows) < visible)
        scroll(0, -rows * rowHeight(), area);
    else
        update(area);
}

void ListView::listScrollBarChanged(const ListControl&)
{
    syncScrollBar();
}

void ListView::listInvalidated(const ListControl&)
{
    update();
}

void ListView::listSelectionReported(const ListControl&)
{
    emit selectionReported();
}

}  // namespace quillon
