#pragma once
#include <cstdint>

namespace gm {

// The font is a ninety-sixth of the drawing area's height, at least 8 pixels.
constexpr std::int32_t font_height_for(std::int32_t client_height)
{
    const std::int32_t h = client_height / 96;
    return h > 8 ? h : 8;
}

struct GridSize {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
};

// A cell of 0 or 1 pixels counts as 1, so the divisions never divide by zero.
constexpr GridSize grid_size_for(std::int32_t client_width, std::int32_t client_height, std::int32_t cell_width,
                                 std::int32_t cell_height)
{
    return {client_width / (cell_width > 1 ? cell_width : 1), client_height / (cell_height > 1 ? cell_height : 1)};
}

} // namespace gm
