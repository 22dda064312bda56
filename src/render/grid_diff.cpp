#include "render/grid_diff.h"

#include <algorithm>

namespace gm {

ColumnSpan changed_columns(const CellGrid& before, const CellGrid& after, std::int32_t row)
{
    if (row < 0 || row >= after.rows) return {};
    if (before.columns != after.columns || before.rows != after.rows) return {0, after.columns};
    const Cell* old_cells = before.row(row);
    const Cell* new_cells = after.row(row);
    std::int32_t first = 0;
    while (first < after.columns && old_cells[first] == new_cells[first]) ++first;
    if (first == after.columns) return {};
    std::int32_t end = after.columns;
    while (old_cells[end - 1] == new_cells[end - 1]) --end;
    return {first, end};
}

CellRect changed_rect(const CellGrid& before, const CellGrid& after)
{
    CellRect rect{after.columns, after.rows, 0, 0};
    for (std::int32_t r = 0; r < after.rows; ++r) {
        const ColumnSpan span = changed_columns(before, after, r);
        if (span.empty()) continue;
        rect.left = std::min(rect.left, span.first);
        rect.right = std::max(rect.right, span.end);
        rect.top = std::min(rect.top, r);
        rect.bottom = r + 1;
    }
    return rect.empty() ? CellRect{} : rect;
}

} // namespace gm
