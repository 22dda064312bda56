#include "host/glyphmarinae/notice.h"

#include <algorithm>

namespace gm {

namespace {

// The words before the last give way first, from the left: the last word (a
// seed) is what the notice is for. A blank each side keeps the message apart
// from the fish around it.
std::string fitted(std::string text, std::size_t width)
{
    for (std::size_t space; text.size() + 2 > width && (space = text.find(' ')) != std::string::npos;)
        text.erase(0, space + 1);
    return " " + text + " ";
}

} // namespace

void draw_notice(CellGrid& grid, const std::string& text)
{
    if (grid.rows <= 0) return;
    const std::string line = fitted(text, static_cast<std::size_t>(std::max(grid.columns, 0)));
    const std::int32_t width = std::min(grid.columns, static_cast<std::int32_t>(line.size()));
    for (std::int32_t c = 0; c < width; ++c) {
        const char ch = line[static_cast<std::size_t>(c)];
        grid.at(c, grid.rows - 1) = Cell{ch == ' ' ? '\0' : ch, colours::white};
    }
}

} // namespace gm
