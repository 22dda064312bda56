#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/scene.h"
#include "render/cell_grid.h"
#include "render/grid_diff.h"

namespace gm {

// The aquarium as a page sees it: one scene, the grid the page has drawn,
// and the stretches of cells that differ from it, so that the page repaints
// only those.
struct WebAquarium {
    Scene scene;
    CellGrid drawn;
    std::vector<ColumnSpan> row_spans; // kept to spare an allocation per row
    std::vector<std::int32_t> spans;   // row, first column, one past the last; three words a stretch
    std::string text; // the last text asked for, kept while the page reads it
};

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed);
// Ticks, composes and finds the changed stretches; returns how many there are.
std::int32_t web_tick(WebAquarium& aquarium);
// Ticks without composing.
void web_advance(WebAquarium& aquarium, std::int32_t ticks);
// Composes without ticking (the first frame, or the one a dump prints) and
// finds the changed stretches.
std::int32_t web_compose(WebAquarium& aquarium);

} // namespace gm
