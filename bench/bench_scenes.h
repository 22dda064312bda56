#pragma once
#include <cstdint>
#include <memory>

#include "engine/scene.h"

namespace gm {

struct ScreenSize {
    std::int32_t columns;
    std::int32_t rows;
};

// The sizes real screens give: a classic terminal, a 1080p screen and a 4K
// screen, each with a font a ninety-sixth of the screen's height.
inline constexpr ScreenSize screen_sizes[] = {{80, 24}, {240, 80}, {349, 98}};

// How long scenes run before they are measured. The default lets even the
// slowest fish cross the grid four times; a short warm-up only checks that
// everything runs.
void set_short_warm_up(bool short_warm_up);

// A scene that has run long enough to look lived in: fish at the target, a
// visitor on screen and bubbles rising. The same every time for a size.
std::unique_ptr<Scene> typical_scene(ScreenSize size);

// A typical scene with crowd times the fish target.
std::unique_ptr<Scene> crowded_scene(ScreenSize size, std::int32_t crowd);

// Adds fish until the scene holds crowd times its target again; ticks only
// top up to the target itself.
void refill_crowd(Scene& scene, std::int32_t crowd);

// Cells covered by the frames that composition draws, the water tiles across
// the whole width included.
std::int64_t drawn_area(const Scene& scene);

} // namespace gm
