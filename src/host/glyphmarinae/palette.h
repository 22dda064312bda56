#pragma once
#include "host/common/colour_rule.h"
#include "sprites/colour.h"

namespace gm {

// How a design colour is shown on a terminal: a colour pair number (0 for
// the terminal's default) and whether to embolden.
struct TerminalStyle {
    short pair = 0;
    bool bold = false;
};

// Pair n + 1 holds colour n with the aquarium's background: 1..16 the
// sixteen standard colours (1..8 when only eight exist) and, at 256
// colours, 17..232 the cube.
TerminalStyle style_for(Colour colour, ColourDepth depth);

// The depth ncurses can draw on this terminal: the shared rule, short of 24
// bits. ncurses writes only what the terminfo entry describes, and its
// narrow library, which the program links, holds a colour number in 16 bits;
// so a terminal that says truecolor under a 256-colour entry gets the cube,
// and a -direct entry, whose numbers from 8 up are RGB values, its eight
// standard colours. `terminal_colours` keeps the terminal's own sixteen (or
// eight), as its theme paints them.
ColourDepth drawable_depth(std::string_view colorterm, std::string_view term, int colours, bool terminal_colours);

// Whether the user has turned colour off for every program that honours
// NO_COLOR: set, and not to the empty string.
bool colour_refused();

} // namespace gm
