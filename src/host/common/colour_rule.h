#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "sprites/colour.h"

namespace gm {

// How many colours a terminal is written in. Every program that writes
// escape sequences chooses by the same rule, so the aquarium looks the same
// in each wherever the terminal allows.
enum class ColourDepth { truecolor, palette256, sixteen, eight, none };

// The depth a terminal asks for: 24-bit when COLORTERM says truecolor or
// 24bit or TERM names a -direct entry; else the most its `colours` allow
// (256, 16, 8, below that none).
ColourDepth colour_depth_for(std::string_view colorterm, std::string_view term, int colours);

// The name a user or a URL gives a depth ("truecolor", "256", "16", "8",
// "none"), and back.
std::optional<ColourDepth> colour_depth_named(std::string_view name);
std::string_view colour_depth_name(ColourDepth depth);

// The index 16..231 of the 256-colour palette's cube nearest to `colour` by
// squared RGB distance. The distance is a sum over the channels, so the
// nearest level of each channel alone gives the nearest entry.
int nearest_cube_index(Colour colour);

// Appends the SGR sequence that sets the text to `colour` at `depth`;
// nothing at ColourDepth::none. Sixteen and eight colours take the standard
// terminal colour nearest to the design colour, as the dumps do.
void append_foreground(std::string& out, Colour colour, ColourDepth depth);

} // namespace gm
