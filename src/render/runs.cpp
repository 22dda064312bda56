#include "render/runs.h"

namespace gm {

void split_runs(const CellGrid& grid, std::int32_t row, std::vector<ColourRun>& runs)
{
    runs.clear();
    if (row < 0 || row >= grid.rows) return;
    const Cell* cells = grid.row(row);
    std::int32_t c = 0;
    while (c < grid.columns) {
        if (cells[c].character == ' ') {
            ++c;
            continue;
        }
        ColourRun run;
        run.column = c;
        run.colour = cells[c].colour;
        while (c < grid.columns && cells[c].colour == run.colour && cells[c].character != ' ') {
            run.text.push_back(cells[c].character == '\0' ? ' ' : cells[c].character);
            ++c;
        }
        runs.push_back(std::move(run));
    }
}

std::vector<ColourRun> split_runs(const CellGrid& grid, std::int32_t row)
{
    std::vector<ColourRun> runs;
    split_runs(grid, row, runs);
    return runs;
}

} // namespace gm
