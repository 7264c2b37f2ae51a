#pragma once

#include "model/Trace.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <array>

namespace quillon {

// A list that can own a tip: the tip forwards clicks on it to the list row below.
class TipOwner {
public:
    virtual ~TipOwner() = default;
    // The list is visible and enabled, so a click may reach it.
    virtual bool tipOwnerUsable() const = 0;
    // A click on the tip over entry `row`: handle it as a click on that row.
    virtual void tipClicked(int row) = 0;
};

// What the tip logic needs from the screen: time, the pointer and a window.
class TipHost {
public:
    virtual ~TipHost() = default;
    virtual qint64 nowMs() const = 0;
    virtual QPoint cursorPos() const = 0;  // screen pixels
    // Show the tip face at `face` (screen pixels) with a 2-pixel shadow right and below.
    virtual void showTip(const QRect& face, const QString& text) = 0;
    virtual void hideTip() = 0;
    // The earliest running timer changed; ask fireDueTimers() again by then.
    virtual void timersChanged() {}
};

enum class TipTimer { On, Off, Hide, Active, Click };

// When and where the full text of a cut list cell is shown: after the pointer
// has rested on the cell for a second, at once within 600 ms of an earlier
// tip's removal, checked every 400 ms until the pointer leaves, hidden after
// 10 s; single and double clicks on the tip go to the row under it.
// Time comes from the host; the host calls fireDueTimers() when the next
// deadline has passed, so tests run without real waiting.
class TipController {
public:
    static constexpr int kShowDelay = 1000;
    static constexpr int kLeavePoll = 400;
    static constexpr int kHideAfter = 10000;
    static constexpr int kGrace = 600;
    static constexpr int kClickWait = 230;

    explicit TipController(TipHost& host);
    void setTrace(TraceSink* trace) { trace_ = trace; }

    // The pointer rests on cell (row, column) of `owner` whose text is cut.
    // cellTopLeft: the cell's top-left corner on the screen; textSize: the
    // text's extent on one line in the list's font.
    void listDisplay(TipOwner* owner, int row, int column, QPoint cellTopLeft, QSize textSize,
                     const QString& text);
    // The pointer is over `owner` but not on a cut cell: its tip goes.
    void listNoCutCell(TipOwner* owner);
    // Removes a shown tip and forgets the owner (also before commands change state).
    void remove();
    // The list is going away: never call it again.
    void ownerGone(TipOwner* owner);
    // Clicks on the tip window.
    void clicked();
    void doubleClicked();
    // Stops every timer (the tip window closes).
    void shutdown();

    // Runs every timer whose time has come, in time order.
    void fireDueTimers();
    // Milliseconds on the host clock of the next timer, or -1 when none runs.
    qint64 nextDeadline() const;

    bool tipVisible() const { return visible_; }
    bool timerRunning(TipTimer t) const { return timer(t).running; }
    TipOwner* owner() const { return owner_; }
    int row() const { return row_; }
    int column() const { return column_; }
    QRect hotRect() const { return hot_; }
    QRect faceRect() const { return face_; }
    QString text() const { return text_; }

private:
    struct Timer {
        bool running = false;
        qint64 due = 0;
        int interval = 0;
    };

    Timer& timer(TipTimer t) { return timers_[static_cast<std::size_t>(t)]; }
    const Timer& timer(TipTimer t) const { return timers_[static_cast<std::size_t>(t)]; }
    void start(TipTimer t);  // a running timer is left running
    void stop(TipTimer t);
    void fire(TipTimer t);
    void show();
    void forwardClick();
    qint64 now() const;
    bool pointerInside() const;

    TipHost& host_;
    std::array<Timer, 5> timers_;
    TipOwner* owner_ = nullptr;
    TipOwner* clickOwner_ = nullptr;  // the owner a click on the shown tip goes to
    int clickRow_ = 0;
    int row_ = 0;
    int column_ = 0;
    QRect hot_;
    QRect face_;
    QString text_;
    bool visible_ = false;
    bool doubleClicked_ = false;
    bool firing_ = false;
    qint64 firingAt_ = 0;
    TraceSink* trace_ = nullptr;
};

}  // namespace quillon
