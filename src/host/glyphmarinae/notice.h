#pragma once
#include <cstdint>
#include <string>

#include "render/cell_grid.h"

namespace gm {

// A short message over the last row of the aquarium until a deadline on the
// monotonic clock.
struct Notice {
    std::string text;
    std::int64_t until_ns = 0;

    bool shown(std::int64_t now_ns) const { return !text.empty() && now_ns < until_ns; }
};

// Writes the text in white from the left of the last row; where it is too
// wide, its leading words are left out, and then its end is cut.
void draw_notice(CellGrid& grid, const std::string& text);

} // namespace gm
