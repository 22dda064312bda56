#include "render/runs.h"

#include <algorithm>

namespace gm {

void ColourRuns::start(std::size_t characters)
{
    runs_.clear();
    characters_.clear();
    characters_.reserve(characters);
}

void ColourRuns::append(const CellGrid& grid, std::int32_t row, std::int32_t first, std::int32_t end)
{
    if (row < 0 || row >= grid.rows) return;
    const Cell* cells = grid.row(row);
    std::int32_t c = std::max(first, 0);
    end = std::min(end, grid.columns);
    while (c < end) {
        if (cells[c].character == ' ') {
            ++c;
            continue;
        }
        const std::int32_t column = c;
        const Colour colour = cells[c].colour;
        const std::size_t from = characters_.size();
        for (; c < end && cells[c].colour == colour && cells[c].character != ' '; ++c)
            characters_.push_back(cells[c].character == '\0' ? ' ' : cells[c].character);
        runs_.push_back({column, colour, {characters_.data() + from, characters_.size() - from}});
    }
}

void split_runs(const CellGrid& grid, std::int32_t row, ColourRuns& runs)
{
    runs.start(static_cast<std::size_t>(grid.columns));
    runs.append(grid, row, 0, grid.columns);
}

ColourRuns split_runs(const CellGrid& grid, std::int32_t row)
{
    ColourRuns runs;
    split_runs(grid, row, runs);
    return runs;
}

void split_runs(const CellGrid& grid, std::int32_t row, std::vector<ColourRun>& runs)
{
    thread_local ColourRuns kept;
    split_runs(grid, row, kept);
    runs.assign(kept.begin(), kept.end());
}

} // namespace gm
