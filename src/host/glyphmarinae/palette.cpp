#include "host/glyphmarinae/palette.h"

#include <cstdlib>

#include "render/text_render.h"

namespace gm {

namespace {

// What a -direct entry reports as its colours: one per 24-bit value.
constexpr int direct_colours = 1 << 24;

} // namespace

TerminalStyle style_for(Colour colour, ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::truecolor: // not drawn: see drawable_depth
    case ColourDepth::none: return {0, false};
    case ColourDepth::palette256: return {static_cast<short>(nearest_cube_index(colour) + 1), false};
    case ColourDepth::sixteen: return {static_cast<short>(terminal_colour_index(colour) + 1), false};
    case ColourDepth::eight: {
        // The bright shades are the dark ones in bold.
        const int index = terminal_colour_index(colour);
        return {static_cast<short>((index & 7) + 1), index >= 8};
    }
    }
    return {0, false};
}

ColourDepth drawable_depth(std::string_view colorterm, std::string_view term, int colours, bool terminal_colours)
{
    ColourDepth depth = colour_depth_for(colorterm, term, colours);
    if (depth == ColourDepth::truecolor)
        depth = term.ends_with("-direct") || colours >= direct_colours ? ColourDepth::eight
                                                                        : colour_depth_for({}, {}, colours);
    if (terminal_colours && depth == ColourDepth::palette256) depth = ColourDepth::sixteen;
    return depth;
}

bool colour_refused()
{
    const char* setting = std::getenv("NO_COLOR");
    return setting != nullptr && *setting != '\0';
}

} // namespace gm
