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

void changed_spans(const CellGrid& before, const CellGrid& after, std::int32_t row, std::int32_t join_gap,
                   std::vector<ColumnSpan>& spans)
{
    if (row < 0 || row >= after.rows || after.columns == 0) return;
    if (before.columns != after.columns || before.rows != after.rows) {
        spans.push_back({0, after.columns});
        return;
    }
    const Cell* old_cells = before.row(row);
    const Cell* new_cells = after.row(row);
    const std::size_t first_of_row = spans.size();
    for (std::int32_t column = 0; column < after.columns; ++column) {
        if (old_cells[column] == new_cells[column]) continue;
        if (spans.size() > first_of_row && column - spans.back().end < join_gap)
            spans.back().end = column + 1;
        else
            spans.push_back({column, column + 1});
    }
}

void CellRect::include(std::int32_t row, ColumnSpan span)
{
    if (span.empty()) return;
    left = std::min(left, span.first);
    right = std::max(right, span.end);
    top = std::min(top, row);
    bottom = std::max(bottom, row + 1);
}

CellRect changed_rect(const CellGrid& before, const CellGrid& after)
{
    CellRect rect = CellRect::nothing_yet(after);
    for (std::int32_t r = 0; r < after.rows; ++r) rect.include(r, changed_columns(before, after, r));
    return rect.empty() ? CellRect{} : rect;
}

} // namespace gm
