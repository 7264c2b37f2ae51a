#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace quillon {

namespace {

// The least of a window that must lie on a screen to count as on it.
constexpr int kGripPixels = 50;

// The top left corner that puts a rectangle of `size` inside `area` with the
// least movement from `at`; a rectangle too large keeps to the left and top.
QPoint clampInto(const QPoint& at, const QSize& size, const QRect& area)
{
    return {std::clamp(at.x(), area.left(), std::max(area.left(), area.left() + area.width() - size.width())),
            std::clamp(at.y(), area.top(), std::max(area.top(), area.top() + area.height() - size.height()))};
}

}  // namespace

void keepOnScreen(QWidget& window)
{
    const QRect frame = window.geometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(frame);
        if (seen.width() >= kGripPixels && seen.height() >= kGripPixels)
            return;
    }
    const QScreen* target = QGuiApplication::screenAt(frame.center());
    if (!target)
        target = QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect area = target->availableGeometry();
    const QSize size = frame.size().boundedTo(area.size());
    window.setGeometry(QRect(clampInto(frame.topLeft(), size, area), size));
}

void moveInsideScreen(QWidget& window)
{
    if (!window.isVisible() || window.isMaximized() || window.isFullScreen())
        return;
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // A top-level window's position is its frame's, title bar included.
    const QRect frame = window.frameGeometry();
    const QPoint at = clampInto(frame.topLeft(), frame.size(), screen->availableGeometry());
    if (at != frame.topLeft())
        window.move(at);
}

}  // namespace quillon
