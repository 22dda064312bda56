#include "host/glyphmarinae/palette.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "render/text_render.h"

namespace gm {

namespace {

// The standard colours a -direct entry keeps below its RGB values.
constexpr int direct_standard_colours = 8;

// The endings by which an entry names its palette rather than its family.
constexpr std::array<std::string_view, 4> palette_suffixes = {"-256color", "-88color", "-16color", "-color"};

} // namespace

TerminalStyle style_for(Colour colour, ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::truecolor: // a pair of its own: see Screen
    case ColourDepth::none: return {0, false};
    case ColourDepth::palette256: return {nearest_cube_index(colour) + 1, false};
    case ColourDepth::sixteen: return {terminal_colour_index(colour) + 1, false};
    case ColourDepth::eight: {
        // The bright shades are the dark ones in bold.
        const int index = terminal_colour_index(colour);
        return {(index & 7) + 1, index >= 8};
    }
    }
    return {0, false};
}

ColourDepth drawable_depth(std::string_view colorterm, std::string_view term, int colours, bool terminal_colours)
{
    ColourDepth depth = colour_depth_for(colorterm, term, colours);
    // A -direct entry's numbers from 8 up are RGB values, whatever its name
    // says: it has neither the cube nor the bright eight.
    if (colours >= direct_colours) depth = terminal_colours ? ColourDepth::eight : ColourDepth::truecolor;
    else if (depth == ColourDepth::truecolor) depth = colour_depth_for({}, {}, colours);
    if (terminal_colours && depth == ColourDepth::palette256) depth = ColourDepth::sixteen;
    return depth;
}

std::string direct_entry_for(std::string_view term)
{
    if (term.empty() || term.ends_with("-direct")) return {};
    for (std::string_view suffix : palette_suffixes)
        if (term.ends_with(suffix)) {
            term.remove_suffix(suffix.size());
            break;
        }
    return std::string(term) + "-direct";
}

int direct_colour_number(Colour colour)
{
    const int rgb = static_cast<int>(red_of(colour) << 16 | green_of(colour) << 8 | blue_of(colour));
    return std::max(rgb, direct_standard_colours);
}

bool colour_refused()
{
    const char* setting = std::getenv("NO_COLOR");
    return setting != nullptr && *setting != '\0';
}

} // namespace gm
