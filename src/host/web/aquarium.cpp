#include "host/web/aquarium.h"

#include "engine/tick.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

// Unchanged gaps narrower than this are drawn again rather than starting a
// new stretch, which costs the page a clip and a clear.
constexpr std::int32_t join_gap = 4;

std::int32_t take_changes(WebAquarium& aquarium)
{
    const CellGrid& grid = aquarium.scene.grid;
    aquarium.spans.clear();
    for (std::int32_t row = 0; row < grid.rows; ++row) {
        aquarium.row_spans.clear();
        changed_spans(aquarium.drawn, grid, row, join_gap, aquarium.row_spans);
        for (const ColumnSpan& span : aquarium.row_spans) aquarium.spans.insert(aquarium.spans.end(), {row, span.first, span.end});
    }
    aquarium.drawn = grid;
    return static_cast<std::int32_t>(aquarium.spans.size() / 3);
}

} // namespace

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed)
{
    start_scene(aquarium.scene, columns, rows, seed);
    // A new size differs everywhere, so the first frame is drawn whole.
    aquarium.drawn = CellGrid();
    aquarium.spans.clear();
}

std::int32_t web_compose(WebAquarium& aquarium)
{
    compose(aquarium.scene);
    return take_changes(aquarium);
}

void web_advance(WebAquarium& aquarium, std::int32_t ticks)
{
    for (std::int32_t i = 0; i < ticks; ++i) tick(aquarium.scene);
}

std::int32_t web_tick(WebAquarium& aquarium)
{
    tick(aquarium.scene);
    return web_compose(aquarium);
}

} // namespace gm
