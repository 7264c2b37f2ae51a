#include "TipController.h"

namespace quillon {

TipController::TipController(TipHost& host)
    : host_(host)
{
    timer(TipTimer::On).interval = kShowDelay;
    timer(TipTimer::Off).interval = kLeavePoll;
    timer(TipTimer::Hide).interval = kHideAfter;
    timer(TipTimer::Active).interval = kGrace;
    timer(TipTimer::Click).interval = kClickWait;
}

void TipController::listDisplay(TipOwner* owner, int row, int column, QPoint cellTopLeft,
                                QSize textSize, const QString& text)
{
    const TraceScope trace(trace_, "modTip", "TipListDisplay");
    if (!owner)
        return;
    // Either coordinate changing makes it another cell, so moving along a row
    // from one cut cell to the next brings the next text.
    const bool otherCell = row != row_ || column != column_;
    const bool idleForOwner = !timer(TipTimer::On).running && owner != owner_;
    if (!otherCell && !idleForOwner)
        return;

    remove();
    owner_ = owner;
    row_ = row;
    column_ = column;
    text_ = text;
    const int left = cellTopLeft.x() + 1;
    const int top = cellTopLeft.y() + 1;
    hot_ = QRect(QPoint(left, top), QPoint(left + textSize.width() + 4, top + textSize.height()));
    face_ = QRect(QPoint(left, top), QSize(textSize.width() + 4, textSize.height() + 4));

    if (timer(TipTimer::Active).running) {
        show();
    } else {
        // The second counts from arriving on this cell.
        stop(TipTimer::On);
        start(TipTimer::On);
    }
    host_.timersChanged();
}

void TipController::listNoCutCell(TipOwner* owner)
{
    if (owner && owner == owner_)
        remove();
}

void TipController::remove()
{
    const TraceScope trace(trace_, "modTip", "TipRemove");
    stop(TipTimer::Off);
    stop(TipTimer::On);
    owner_ = nullptr;
    row_ = 0;
    column_ = 0;
    if (visible_) {
        host_.hideTip();
        visible_ = false;
        // Only a tip that was really seen opens the grace period; otherwise
        // every pointer move over an uncut cell would cancel the delay.
        start(TipTimer::Active);
    }
    host_.timersChanged();
}

void TipController::ownerGone(TipOwner* owner)
{
    if (clickOwner_ == owner)
        clickOwner_ = nullptr;
    if (owner_ == owner)
        remove();
}

void TipController::clicked()
{
    const TraceScope trace(trace_, "modTip", "TipListClicked");
    clickOwner_ = owner_;
    clickRow_ = row_;
    start(TipTimer::Click);
    host_.timersChanged();
}

void TipController::doubleClicked()
{
    if (!clickOwner_) {
        clickOwner_ = owner_;
        clickRow_ = row_;
    }
    doubleClicked_ = true;
    forwardClick();
    remove();
}

void TipController::shutdown()
{
    for (Timer& t : timers_)
        t.running = false;
    host_.timersChanged();
}

void TipController::forwardClick()
{
    TipOwner* target = clickOwner_;
    clickOwner_ = nullptr;
    if (target && target->tipOwnerUsable())
        target->tipClicked(clickRow_);
}

void TipController::show()
{
    const TraceScope trace(trace_, "modTip", "TipShow");
    visible_ = true;
    start(TipTimer::Off);
    host_.showTip(face_, text_);
}

// --- timers -------------------------------------------------------------------

qint64 TipController::now() const
{
    return firing_ ? firingAt_ : host_.nowMs();
}

bool TipController::pointerInside() const
{
    return hot_.contains(host_.cursorPos());
}

void TipController::start(TipTimer t)
{
    Timer& tm = timer(t);
    if (tm.running)
        return;
    tm.running = true;
    tm.due = now() + tm.interval;
}

void TipController::stop(TipTimer t)
{
    timer(t).running = false;
}

qint64 TipController::nextDeadline() const
{
    qint64 next = -1;
    for (const Timer& t : timers_)
        if (t.running && (next < 0 || t.due < next))
            next = t.due;
    return next;
}

void TipController::fireDueTimers()
{
    const qint64 limit = host_.nowMs();
    for (;;) {
        int earliest = -1;
        for (int i = 0; i < static_cast<int>(timers_.size()); ++i) {
            const Timer& t = timers_[static_cast<std::size_t>(i)];
            if (t.running && t.due <= limit
                && (earliest < 0 || t.due < timers_[static_cast<std::size_t>(earliest)].due))
                earliest = i;
        }
        if (earliest < 0)
            break;
        firing_ = true;
        firingAt_ = timers_[static_cast<std::size_t>(earliest)].due;
        fire(static_cast<TipTimer>(earliest));
        firing_ = false;
    }
    host_.timersChanged();
}

void TipController::fire(TipTimer t)
{
    switch (t) {
    case TipTimer::On:
        stop(TipTimer::On);
        if (pointerInside() && owner_)
            show();
        else
            owner_ = nullptr;
        break;
    case TipTimer::Off: {
        Timer& off = timer(TipTimer::Off);
        off.due += off.interval;  // repeating
        if (pointerInside()) {
            start(TipTimer::Hide);
        } else {
            stop(TipTimer::Hide);
            remove();
        }
        break;
    }
    case TipTimer::Hide:
        stop(TipTimer::Hide);
        if (visible_) {
            host_.hideTip();
            visible_ = false;
        }
        break;
    case TipTimer::Active:
        stop(TipTimer::Active);
        break;
    case TipTimer::Click:
        stop(TipTimer::Click);
        if (!doubleClicked_) {
            forwardClick();
            remove();
        } else {
            doubleClicked_ = false;
        }
        break;
    }
}

}  // namespace quillon
