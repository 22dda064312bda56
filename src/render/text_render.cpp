#include "render/text_render.h"

#include <string>

namespace gm {

int terminal_colour_index(Colour colour)
{
    const unsigned red = red_of(colour), green = green_of(colour), blue = blue_of(colour);
    // Standard terminal colours are numbered with red as bit 0, green bit 1, blue bit 2.
    const unsigned hue = (red ? 1u : 0u) | (green ? 2u : 0u) | (blue ? 4u : 0u);
    if (hue == 0) return 0;
    const bool bright = red > 0xAA || green > 0xAA || blue > 0xAA;
    if (hue == 7) return bright ? 15 : 7;
    return static_cast<int>(hue) + (bright ? 8 : 0);
}

int ansi_foreground_code(int colour_index) { return colour_index < 8 ? 30 + colour_index : 90 + colour_index - 8; }

std::string grid_to_text(const CellGrid& grid)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(grid.columns + 1) * static_cast<std::size_t>(grid.rows));
    for (std::int32_t r = 0; r < grid.rows; ++r) {
        const Cell* cells = grid.row(r);
        for (std::int32_t c = 0; c < grid.columns; ++c) text.push_back(cells[c].character == '\0' ? ' ' : cells[c].character);
        text.push_back('\n');
    }
    return text;
}

std::string grid_to_ansi(const CellGrid& grid)
{
    std::string text;
    for (std::int32_t r = 0; r < grid.rows; ++r) {
        const Cell* cells = grid.row(r);
        int current = -1;
        for (std::int32_t c = 0; c < grid.columns; ++c) {
            const Cell& cell = cells[c];
            const bool blank = cell.character == ' ' || cell.character == '\0';
            if (!blank) {
                const int index = terminal_colour_index(cell.colour);
                if (index != current) {
                    text += "\x1b[" + std::to_string(ansi_foreground_code(index)) + "m";
                    current = index;
                }
            }
            text.push_back(blank ? ' ' : cell.character);
        }
        if (current != -1) text += "\x1b[0m";
        text.push_back('\n');
    }
    return text;
}

} // namespace gm
