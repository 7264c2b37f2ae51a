#include "TipPopup.h"

#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace quillon {

namespace {

constexpr int kShadow = 2;
const QColor kFace(255, 255, 128);
const QColor kShadowGrey(128, 128, 128);

}  // namespace

TipPopup::TipPopup(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , controller_(*this)
{
    setObjectName(QStringLiteral("frmTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    clock_.start();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { controller_.fireDueTimers(); });
}

TipPopup::~TipPopup()
{
    timer_.stop();
}

void TipPopup::listDisplay(TipOwner* owner, int row, int column, const QRect& cellOnScreen,
                           const QFont& font, const QString& text)
{
    const QFontMetrics fm(font);
    pendingFont_ = font;
    controller_.listDisplay(owner, row, column, cellOnScreen.topLeft(),
                            QSize(fm.horizontalAdvance(text), fm.height()), text);
}

void TipPopup::listNoCutCell(TipOwner* owner)
{
    controller_.listNoCutCell(owner);
}

void TipPopup::remove()
{
    controller_.remove();
}

void TipPopup::ownerGone(TipOwner* owner)
{
    controller_.ownerGone(owner);
}

qint64 TipPopup::nowMs() const
{
    return clock_.elapsed();
}

QPoint TipPopup::cursorPos() const
{
    return QCursor::pos();
}

void TipPopup::showTip(const QRect& face, const QString& text)
{
    text_ = text;
    textFont_ = pendingFont_;
    const QRect local(QPoint(0, 0), face.size());
    setGeometry(QRect(face.topLeft(), face.size() + QSize(kShadow, kShadow)));
    // The two corners the shadow leaves free show what lies below.
    setMask(QRegion(local) + QRegion(local.translated(kShadow, kShadow)));
    show();
    update();
}

void TipPopup::hideTip()
{
    hide();
}

void TipPopup::timersChanged()
{
    const qint64 next = controller_.nextDeadline();
    if (next < 0) {
        timer_.stop();
        return;
    }
    timer_.start(static_cast<int>(std::max<qint64>(0, next - nowMs())));
}

void TipPopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect face(0, 0, width() - kShadow, height() - kShadow);
    p.fillRect(face.translated(kShadow, kShadow), kShadowGrey);
    p.fillRect(face, kFace);
    p.setPen(Qt::black);
    p.drawRect(face.adjusted(0, 0, -1, -1));
    p.setFont(textFont_);
    p.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, text_);
}

void TipPopup::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    controller_.clicked();
}

void TipPopup::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    controller_.doubleClicked();
}

}  // namespace quillon
