#include "render/runs.h"

#include <algorithm>

namespace gm {

void ColourRuns::start(std::size_t characters)
{
    runs_.clear();
    used_ = 0;
    make_room(characters);
}

void ColourRuns::make_room(std::size_t characters)
{
    if (used_ + characters <= characters_.size()) return;
    std::vector<char> larger(std::max(used_ + characters, characters_.size() * 2));
    std::copy_n(characters_.data(), used_, larger.data());
    for (ColourRun& run : runs_)
        run.text = {larger.data() + (run.text.data() - characters_.data()), run.text.size()};
    characters_.swap(larger);
}

void ColourRuns::append(const CellGrid& grid, std::int32_t row, std::int32_t first, std::int32_t end)
{
    if (row < 0 || row >= grid.rows) return;
    const Cell* cells = grid.row(row);
    std::int32_t c = std::max(first, 0);
    end = std::min(end, grid.columns);
    if (c >= end) return;
    make_room(static_cast<std::size_t>(end - c));
    // Written through a local pointer and count: a char written through a
    // member could be any member, and every one would be read again.
    char* const text = characters_.data();
    std::size_t at = used_;
    while (c < end) {
        if (cells[c].character == ' ') {
            ++c;
            continue;
        }
        const std::int32_t column = c;
        const Colour colour = cells[c].colour;
        const std::size_t from = at;
        for (; c < end && cells[c].colour == colour && cells[c].character != ' '; ++c)
            text[at++] = cells[c].character == '\0' ? ' ' : cells[c].character;
        runs_.push_back({column, colour, {text + from, at - from}});
    }
    used_ = at;
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
