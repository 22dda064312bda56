#include "render/compose.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gm {

namespace {

// Truncated toward zero (-0.5 is column 0), unlike the collision test; clamped
// so that a wild position cannot overflow the conversion.
std::int32_t grid_cell_of(float position)
{
    if (!(position > -1e9f)) return -1000000000;
    if (position > 1e9f) return 1000000000;
    return static_cast<std::int32_t>(position);
}

struct Cover {
    std::int32_t columns = 0;
    std::vector<std::uint8_t> flags;
    bool at(std::int32_t column, std::int32_t row) const
    {
        return !flags.empty() && flags[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
};

// The frame columns j whose grid column left + j lies inside the grid: first <= j < last.
struct ColumnsInside {
    std::int32_t first;
    std::int32_t last;
};

ColumnsInside columns_inside(const CellGrid& grid, const SpriteFrame& frame, std::int32_t left)
{
    const std::int64_t first = std::max<std::int64_t>(0, -static_cast<std::int64_t>(left));
    const std::int64_t last = std::min<std::int64_t>(frame.width, static_cast<std::int64_t>(grid.columns) - left);
    if (first >= last) return {0, 0};
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}

std::size_t cell_index(const SpriteFrame& frame, std::int32_t j, std::int32_t i)
{
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(j);
}

// Where an entity put an opaque cell, whatever the grid now holds there.
void mark_cover(Cover& cover, const CellGrid& grid, const SpriteFrame& frame, std::int32_t left, std::int32_t top)
{
    if (cover.flags.empty()) {
        cover.columns = grid.columns;
        cover.flags.assign(grid.cells.size(), 0);
    }
    const ColumnsInside inside = columns_inside(grid, frame, left);
    for (std::int32_t i = 0; i < frame.height; ++i) {
        const std::int64_t row = static_cast<std::int64_t>(top) + i;
        if (row < 0 || row >= grid.rows) continue;
        for (std::int32_t j = inside.first; j < inside.last; ++j) {
            if (frame.is_transparent(cell_index(frame, j, i))) continue;
            cover.flags[static_cast<std::size_t>(row * grid.columns + left + j)] = 1;
        }
    }
}

void write_cell(Cell& cell, const SpriteFrame& frame, std::size_t index)
{
    const char ch = frame.cell_at(index);
    cell.character = (ch == ' ' || ch == '?') ? '\0' : ch;
    cell.colour = frame.colour_at(index);
}

// The two front water lines hide the fishing gear on their rows, and the
// frontmost one hides the dolphins too, so these seem to pass behind the surface.
void draw_front_water(CellGrid& grid, const SpriteFrame& frame, std::int32_t left, std::int32_t top,
                      const Cover& line_cover, const Cover* dolphin_cover)
{
    const ColumnsInside inside = columns_inside(grid, frame, left);
    for (std::int32_t i = 0; i < frame.height; ++i) {
        const std::int64_t row = static_cast<std::int64_t>(top) + i;
        if (row < 0 || row >= grid.rows) continue;
        const auto r = static_cast<std::int32_t>(row);
        for (std::int32_t j = inside.first; j < inside.last; ++j) {
            const std::int32_t c = left + j;
            const bool covered = line_cover.at(c, r) || (dolphin_cover && dolphin_cover->at(c, r));
            Cell& cell = grid.at(c, r);
            if (cell.character != ' ' && !covered) continue;
            const std::size_t index = cell_index(frame, j, i);
            if (!frame.is_transparent(index))
                write_cell(cell, frame, index);
            else if (covered)
                cell = Cell{'\0', 0};
        }
    }
}

void draw_water(CellGrid& grid, const Entity& water, const SpriteFrame& frame, std::int32_t top,
                const Cover& line_cover, const Cover& dolphin_cover)
{
    const std::int32_t step = frame.width > 1 ? frame.width : 1;
    for (std::int32_t left = 0; left < grid.columns; left += step) {
        if (water.depth == 2)
            draw_front_water(grid, frame, left, top, line_cover, &dolphin_cover);
        else if (water.depth == 4)
            draw_front_water(grid, frame, left, top, line_cover, nullptr);
        else
            stamp(grid, frame, left, top, true);
    }
}

} // namespace

void stamp(CellGrid& grid, const SpriteFrame& frame, std::int32_t left, std::int32_t top, bool fill_only)
{
    // Only the columns that land inside the grid are visited.
    const ColumnsInside inside = columns_inside(grid, frame, left);
    if (inside.first == inside.last) return;
    for (std::int32_t i = 0; i < frame.height; ++i) {
        const std::int64_t row = static_cast<std::int64_t>(top) + i;
        if (row < 0 || row >= grid.rows) continue;
        Cell* cell = &grid.at(left + inside.first, static_cast<std::int32_t>(row));
        std::size_t index = cell_index(frame, inside.first, i);
        for (std::int32_t j = inside.first; j < inside.last; ++j, ++cell, ++index) {
            if (fill_only && cell->character != ' ') continue;
            if (frame.is_transparent(index)) continue;
            write_cell(*cell, frame, index);
        }
    }
}

void compose(Scene& scene)
{
    CellGrid& grid = scene.grid;
    if (grid.columns != scene.columns || grid.rows != scene.rows)
        grid.reset(scene.columns, scene.rows);
    else
        grid.clear();

    Cover dolphin_cover;
    Cover line_cover;

    std::vector<const Entity*> draw_list;
    draw_list.reserve(scene.entities.size());
    for (const Entity& e : scene.entities)
        if (e.alive) draw_list.push_back(&e);
    std::stable_sort(draw_list.begin(), draw_list.end(),
                     [](const Entity* a, const Entity* b) { return a->depth > b->depth; });

    for (const Entity* e : draw_list) {
        if (e->hidden) continue;
        const SpriteFrame* frame = e->current_frame();
        if (!frame) continue;
        const std::int32_t left = grid_cell_of(e->x);
        const std::int32_t top = grid_cell_of(e->y);
        if (e->is("water")) {
            draw_water(grid, *e, *frame, top, line_cover, dolphin_cover);
            continue;
        }
        stamp(grid, *frame, left, top, false);
        if (e->is("dolphin")) mark_cover(dolphin_cover, grid, *frame, left, top);
        if (e->is("fishhook") || e->is("fishline")) mark_cover(line_cover, grid, *frame, left, top);
    }
}

} // namespace gm
