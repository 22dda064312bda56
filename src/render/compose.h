#pragma once
#include <cstdint>

#include "engine/scene.h"
#include "render/cell_grid.h"
#include "sprites/sprite_frame.h"

namespace gm {

// Rebuilds scene.grid from the live entities, deepest first.
void compose(Scene& scene);

// Draws one frame with its top-left cell at (left, top), clipped to the grid.
// With fill_only it writes only into empty cells.
void stamp(CellGrid& grid, const SpriteFrame& frame, std::int32_t left, std::int32_t top, bool fill_only);

} // namespace gm
