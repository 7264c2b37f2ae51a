#pragma once

#include <QString>
#include <optional>

namespace quillon {

// The main window's place as the `Win` setting keeps it, in twips.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// The main window's size when `Win` says nothing (centred on the screen),
// which is also its smallest size.
inline constexpr int kDefaultWindowWidth = 9600;
inline constexpr int kDefaultWindowHeight = 7200;

// "left,top,width,height", each read as a number. "none" gives nullopt, and
// so does any text that is not four numbers (a hand-edited value), so that
// the window opens at its default place instead of failing. The window
// itself holds its minimum size against a smaller width or height.
std::optional<WindowPlacement> parseWinSetting(const QString& value);

// The text written to `Win`: the four numbers joined by ",".
QString winSettingText(const WindowPlacement& placement);

}  // namespace quillon
