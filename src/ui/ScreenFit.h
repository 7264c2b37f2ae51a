#pragma once

class QWidget;

namespace quillon {

// A window saved on a screen that is no longer there (a larger monitor,
// another layout) comes back onto an available screen, whole if it fits.
// A window with enough of it on a screen to grab and move stays put.
void keepOnScreen(QWidget& window);

// A shown window that has just grown (a pane docked beside it) moves back
// inside its screen, whole if it fits; it does not shrink.
void moveInsideScreen(QWidget& window);

}  // namespace quillon
