#pragma once
#include <cstdint>

#include "engine/scene.h"
#include "host/common/window_metrics.h"
#include "population/population.h"

namespace gm {

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A new aquarium filling a window of `window` pixels in cells of `cell`
// pixels, from `seed`. The mouse rule's first position and start time are
// the window's, not the aquarium's: they outlive a restart.
inline void start_window_scene(Scene& scene, PixelSize window, PixelSize cell, std::uint32_t seed)
{
    scene.client_width = window.width;
    scene.client_height = window.height;
    scene.cell_width = cell.width;
    scene.cell_height = cell.height;
    const GridSize size = grid_size_for(window.width, window.height, cell.width, cell.height);
    start_scene(scene, size.columns, size.rows, seed);
}

} // namespace gm
