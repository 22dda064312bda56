#pragma once
#include <string>
#include <string_view>

#include "host/common/colour_rule.h"
#include "sprites/colour.h"

namespace gm {

// How a design colour is shown on a terminal: a colour pair number (0 for
// the terminal's default) and whether to embolden.
struct TerminalStyle {
    int pair = 0;
    bool bold = false;
};

// Pair n + 1 holds colour n with the aquarium's background: 1..16 the
// sixteen standard colours (1..8 when only eight exist) and, at 256
// colours, 17..232 the cube. At 24 bits a pair is taken for each colour as
// it comes, so this gives none.
TerminalStyle style_for(Colour colour, ColourDepth depth);

// What a -direct terminfo entry reports as its colours: one per 24-bit value.
inline constexpr int direct_colours = 1 << 24;

// The depth ncurses can draw under the terminfo entry `term`, whose colours
// are `colours`: the shared rule, where 24 bits need a -direct entry, since
// ncurses writes only what the entry describes; a terminal that says
// truecolor under an entry of 256 colours, of a family with no -direct
// entry, gets the cube. `terminal_colours` keeps the terminal's own sixteen,
// as its theme paints them; a -direct entry names only eight of them.
ColourDepth drawable_depth(std::string_view colorterm, std::string_view term, int colours, bool terminal_colours);

// The -direct entry of the family `term` belongs to ("xterm-256color" and
// "xterm" give "xterm-direct"), which the terminal database may not hold;
// empty when `term` is one already.
std::string direct_entry_for(std::string_view term);

// The colour number of `colour` under a -direct entry: its RGB value, where
// the numbers below 8 are the terminal's standard colours, so the blackest
// blues, which no eye tells from black, take 8 instead.
int direct_colour_number(Colour colour);

// Whether the user has turned colour off for every program that honours
// NO_COLOR: set, and not to the empty string.
bool colour_refused();

} // namespace gm
