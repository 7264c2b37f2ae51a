#pragma once

#include "WindowPlacement.h"

#include <optional>

namespace quillon {

// The side of the main window the tool path pane is docked at.
enum class PaneSide { Left, Right, Top, Bottom };

// Where and how the tool path pane was left, as the settings file keeps it.
struct PreviewPaneSetting {
    bool visible = false;
    bool floating = false;
    PaneSide side = PaneSide::Right;
    // In twips like `Win`: the detached window's place, or the docked
    // pane's size (its position then follows the main window).
    std::optional<WindowPlacement> placement;
    bool sideView = false;  // the F1 mill seen from the front instead of from above

    bool operator==(const PreviewPaneSetting&) const = default;
};

// The test run's material as the user set it in the pane, in mm whatever
// the program's units: the lathe billet's diameter (used when the
// description names none) and the mill block from X 0, Y 0 down from its
// top at Z 0.
struct RunMaterialSetting {
    double billetDiameter = 20.0;
    double blockX = 80.0;
    double blockY = 60.0;
    double blockZ = 20.0;

    bool operator==(const RunMaterialSetting&) const = default;
};

}  // namespace quillon
