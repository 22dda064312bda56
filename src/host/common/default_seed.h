#pragma once
#include <chrono>
#include <cstdint>
#include <ctime>
#include <random>
#include <unistd.h>

namespace gm {

// The design's seed of a run given none: the calendar time in seconds, taken
// at window creation. The Windows host keeps it.
inline std::uint32_t seconds_seed() { return static_cast<std::uint32_t>(std::time(nullptr)); }

// The seed of a run given none on the other hosts. Panes and previews are
// often started together, so the time in seconds alone would give them one
// aquarium: the process id and the clock below the second are mixed in, and
// the result is still a number that --seed takes to repeat the run.
inline std::uint32_t default_seed()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now);
    const auto below = std::chrono::duration_cast<std::chrono::nanoseconds>(now - seconds);
    std::seed_seq mix{static_cast<std::uint32_t>(seconds.count()), static_cast<std::uint32_t>(below.count()),
                      static_cast<std::uint32_t>(getpid())};
    std::uint32_t seed = 0;
    mix.generate(&seed, &seed + 1);
    return seed;
}

} // namespace gm
