#pragma once

#include <QString>
#include <vector>

namespace quillon {

// One block of the cable instructions: a heading (blue), steps (black) or a
// warning (red). Lines are separated by CR LF; a trailing CR LF ends the
// last line.
struct CableBlock {
    enum class Colour { Blue, Black, Red };
    Colour colour = Colour::Black;
    QString text;
};

// "Herstellung einen seriellen Kabels um einen PC mit einer EMCO Maschine zu verbinden"
QString strCableHeading();

// The twelve blocks, in order.
const std::vector<CableBlock>& cableBlocks();

// One printed line of the instructions; an empty text is an empty line.
struct PrintLine {
    QString text;
    int pointSize = 12;
};

// The printout: an empty line, the heading and an empty line at 14 point,
// then every block's lines at 12 point, each block followed by an empty line.
std::vector<PrintLine> cablePrintLines();

}  // namespace quillon
