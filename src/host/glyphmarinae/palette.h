#pragma once
#include "sprites/colour.h"

namespace gm {

// How a design colour is shown on a terminal with this many colours: a
// colour pair number (0 for the terminal's default) and whether to embolden.
struct TerminalStyle {
    short pair = 0;
    bool bold = false;
};

// Pairs 1..16 hold the sixteen standard colours (1..8 when only eight exist).
TerminalStyle style_for(Colour colour, int colours_available);

// Whether the user has turned colour off for every program that honours
// NO_COLOR: set, and not to the empty string.
bool colour_refused();

} // namespace gm
