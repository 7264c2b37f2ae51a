#pragma once

#include "Toolpath.h"

#include <QPointF>

namespace quillon {

// The plane a toolpath is drawn in. The lathe has one (its drawing plane);
// the mill is seen from above or from the front.
enum class PreviewPlane {
    LatheXZ,  // Z to the right, X (the radius) upward
    MillTop,  // X to the right, Y upward
    MillSide, // X to the right, Z upward
};

// The plane a machine's drawing starts in.
inline PreviewPlane defaultPlane(MachineType machine)
{
    return isLathe(machine) ? PreviewPlane::LatheXZ : PreviewPlane::MillTop;
}

// A tool point in plane coordinates: x to the right, y upward (not yet
// flipped for a screen, whose y runs down).
inline QPointF planePoint(const ToolPoint& p, PreviewPlane plane)
{
    switch (plane) {
    case PreviewPlane::LatheXZ: return {p.z, p.x};
    case PreviewPlane::MillTop: return {p.x, p.y};
    case PreviewPlane::MillSide: return {p.x, p.z};
    }
    return {};
}

}  // namespace quillon
