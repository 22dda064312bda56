#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "render/cell_grid.h"

namespace gm {

// A maximal stretch of one row's cells that share a colour and are not empty;
// opaque blanks are given as ' ' in the text.
struct ColourRun {
    std::int32_t column = 0;
    Colour colour = 0;
    std::string text;
    bool operator==(const ColourRun&) const = default;
};

std::vector<ColourRun> split_runs(const CellGrid& grid, std::int32_t row);
// The same, reusing the caller's storage (the per-frame path of the hosts).
void split_runs(const CellGrid& grid, std::int32_t row, std::vector<ColourRun>& runs);

} // namespace gm
