#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/scene.h"
#include "render/cell_grid.h"

namespace gm {

// The aquarium as a page sees it: one scene, the grid the page has drawn,
// and for every row the columns that differ from it, so that the page
// repaints only those.
struct WebAquarium {
    Scene scene;
    CellGrid drawn;
    std::vector<std::int32_t> spans; // per row: first changed column, one past the last
    std::int32_t changed_rows = 0;
    std::string text; // the last text asked for, kept while the page reads it
};

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed);
// Ticks, composes and finds the changed rows; returns how many there are.
std::int32_t web_tick(WebAquarium& aquarium);
// Composes without ticking: the first frame, or the one a dump prints.
std::int32_t web_compose(WebAquarium& aquarium);

} // namespace gm
