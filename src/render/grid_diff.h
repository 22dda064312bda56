#pragma once
#include <cstdint>
#include <vector>

#include "render/cell_grid.h"

namespace gm {

// What differs between one frame and the next, so that a host or a recorder
// sends only the change and its cost follows the change, not the screen.

struct ColumnSpan {
    std::int32_t first = 0;
    std::int32_t end = 0; // one past the last changed column
    bool empty() const { return first >= end; }
};

struct CellRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0; // one past the last column
    std::int32_t bottom = 0; // one past the last row
    bool empty() const { return left >= right || top >= bottom; }
    // Grows to hold the changed `span` of `row`; start from nothing_yet().
    void include(std::int32_t row, ColumnSpan span);
    static CellRect nothing_yet(const CellGrid& grid) { return {grid.columns, grid.rows, 0, 0}; }
};

// The columns of one row that hold another cell in `after` than in `before`.
// Grids of different sizes differ everywhere.
ColumnSpan changed_columns(const CellGrid& before, const CellGrid& after, std::int32_t row);

// Appends the stretches of one row whose cells differ, left to right. Two
// stretches closer than `join_gap` unchanged cells become one, as drawing a
// few cells again costs less than starting another stretch.
void changed_spans(const CellGrid& before, const CellGrid& after, std::int32_t row, std::int32_t join_gap,
                   std::vector<ColumnSpan>& spans);

// The smallest rectangle holding every changed cell.
CellRect changed_rect(const CellGrid& before, const CellGrid& after);

} // namespace gm
