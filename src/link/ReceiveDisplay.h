#pragma once

#include <QString>

namespace quillon {

// Adds a received chunk to the display text and trims it once: when a
// second CR follows the first, everything up to the first CR (and a LF
// right after it) goes. At 300 baud chunks are a few characters, so the
// display holds the line just completed and the one arriving.
void appendReceivedChunk(QString& display, const QString& chunk);

// True when the display starts with a unit line: "   M" (metric) or three
// blanks and a double quote (inch). Reception ends there.
bool displayStartsWithUnitLine(const QString& display);

}  // namespace quillon
