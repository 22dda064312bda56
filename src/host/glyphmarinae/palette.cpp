#include "host/glyphmarinae/palette.h"

#include <cstdlib>

#include "render/text_render.h"

namespace gm {

TerminalStyle style_for(Colour colour, int colours_available)
{
    if (colours_available < 8) return {0, false};
    const int index = terminal_colour_index(colour);
    if (colours_available >= 16) return {static_cast<short>(index + 1), false};
    // Eight colours: the bright shades are the dark ones in bold.
    return {static_cast<short>((index & 7) + 1), index >= 8};
}

bool colour_refused()
{
    const char* setting = std::getenv("NO_COLOR");
    return setting != nullptr && *setting != '\0';
}

} // namespace gm
