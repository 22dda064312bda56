#pragma once
#include <cstdint>

#include "engine/scene.h"

namespace gm {

inline constexpr std::uint32_t mouse_grace_ms = 2000;

// Whether a pointer movement to (x, y) at time now_ms ends the screensaver.
// The first position seen is remembered and never closes; later movements
// close only after the grace period and only away from that first position.
// Times are unsigned 32-bit milliseconds and may wrap.
inline bool mouse_move_closes(Scene& scene, std::int32_t x, std::int32_t y, std::uint32_t now_ms)
{
    if (scene.preview) return false;
    if (scene.mouse_origin.x == -1) {
        scene.mouse_origin = {x, y};
        return false;
    }
    if (static_cast<std::uint32_t>(now_ms - scene.start_tick) < mouse_grace_ms) return false;
    return !(scene.mouse_origin == MousePosition{x, y});
}

} // namespace gm
