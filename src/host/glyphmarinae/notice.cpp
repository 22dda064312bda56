#include "host/glyphmarinae/notice.h"

#include <algorithm>

namespace gm {

void draw_notice(CellGrid& grid, const std::string& text)
{
    if (grid.rows <= 0) return;
    // A blank each side keeps the message apart from the fish around it.
    const std::string line = " " + text + " ";
    const std::int32_t width = std::min(grid.columns, static_cast<std::int32_t>(line.size()));
    for (std::int32_t c = 0; c < width; ++c) {
        const char ch = line[static_cast<std::size_t>(c)];
        grid.at(c, grid.rows - 1) = Cell{ch == ' ' ? '\0' : ch, colours::white};
    }
}

} // namespace gm
