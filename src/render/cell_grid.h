#pragma once
#include <cstdint>
#include <vector>

#include "sprites/colour.h"

namespace gm {

// character ' ' is empty (water may fill it, nothing is painted), 0 is an
// opaque blank (painted as a blank, water may not fill it), anything else is
// a visible character.
struct Cell {
    char character = ' ';
    Colour colour = 0;
    bool operator==(const Cell&) const = default;
};

struct CellGrid {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::vector<Cell> cells; // row by row, top to bottom

    CellGrid() = default;
    CellGrid(std::int32_t columns_, std::int32_t rows_) { reset(columns_, rows_); }

    void reset(std::int32_t columns_, std::int32_t rows_)
    {
        columns = columns_ > 0 ? columns_ : 0;
        rows = rows_ > 0 ? rows_ : 0;
        cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), Cell{});
    }
    void clear() { cells.assign(cells.size(), Cell{}); }

    Cell& at(std::int32_t column, std::int32_t row)
    {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
    const Cell& at(std::int32_t column, std::int32_t row) const
    {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
    const Cell* row(std::int32_t r) const { return cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(columns); }
};

} // namespace gm
