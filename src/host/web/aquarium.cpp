#include "host/web/aquarium.h"

#include "engine/tick.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/grid_diff.h"

namespace gm {

namespace {

std::int32_t take_changes(WebAquarium& aquarium)
{
    const CellGrid& grid = aquarium.scene.grid;
    aquarium.spans.assign(static_cast<std::size_t>(grid.rows) * 2, 0);
    aquarium.changed_rows = 0;
    for (std::int32_t row = 0; row < grid.rows; ++row) {
        const ColumnSpan span = changed_columns(aquarium.drawn, grid, row);
        if (span.empty()) continue;
        aquarium.spans[static_cast<std::size_t>(row) * 2] = span.first;
        aquarium.spans[static_cast<std::size_t>(row) * 2 + 1] = span.end;
        ++aquarium.changed_rows;
    }
    aquarium.drawn = grid;
    return aquarium.changed_rows;
}

} // namespace

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed)
{
    start_scene(aquarium.scene, columns, rows, seed);
    // A new size differs everywhere, so the first frame is drawn whole.
    aquarium.drawn = CellGrid();
    aquarium.changed_rows = 0;
}

std::int32_t web_compose(WebAquarium& aquarium)
{
    compose(aquarium.scene);
    return take_changes(aquarium);
}

std::int32_t web_tick(WebAquarium& aquarium)
{
    tick(aquarium.scene);
    return web_compose(aquarium);
}

} // namespace gm
