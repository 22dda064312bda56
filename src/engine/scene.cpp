#include "engine/scene.h"

namespace gm {

std::int32_t Scene::fish_target() const
{
    const std::int32_t depth_rows = rows - 9 > 1 ? rows - 9 : 1;
    // The product is taken first; 64-bit keeps huge grids from overflowing.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(depth_rows) * columns / 350);
}

} // namespace gm
