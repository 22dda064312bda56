#pragma once

namespace gm {

// Ticks per frame step for a rate in frame steps per tick, by way of the
// tenth of a second that a tick lasts; 0 turns the frame timer off.
inline float interval_for_rate(float rate)
{
    if (rate <= 0) return 0;
    const float seconds = 0.1f / rate;
    return seconds > 0 ? seconds / 0.1f : 0;
}

} // namespace gm
