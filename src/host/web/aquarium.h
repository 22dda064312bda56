#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/scene.h"
#include "render/cell_grid.h"
#include "render/paint_plan.h"

namespace gm {

// The aquarium as a page sees it: one scene, the grid the page has drawn,
// and the plan of what to paint to bring the page's picture up to the scene's
// grid, so that the page repaints only what changed.
struct WebAquarium {
    Scene scene;
    CellGrid drawn;
    PaintPlan plan;                   // from `drawn` to the scene's grid
    std::vector<std::int32_t> flat_plan; // the plan as the page reads it, filled when asked
    std::string text; // the last text asked for, kept while the page reads it
};

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed);
// Ticks, composes and plans the paint; returns how many spans the plan has.
std::int32_t web_tick(WebAquarium& aquarium);
// Ticks without composing.
void web_advance(WebAquarium& aquarium, std::int32_t ticks);
// Composes without ticking (the first frame, or the one a dump prints) and
// plans the paint.
std::int32_t web_compose(WebAquarium& aquarium);
// Lays the plan of the last tick or compose out in `flat_plan`, as the
// WebAssembly interface documents it.
void flatten_plan(WebAquarium& aquarium);

} // namespace gm
