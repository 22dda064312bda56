#pragma once
#include <chrono>
#include <cstdint>

namespace gm {

// Frame deadlines on a monotonic clock. Deadlines advance by whole periods,
// so the average rate holds without drift; a frame that is more than a
// period late starts a fresh schedule instead of a burst of catch-up ticks.
struct Pacer {
    std::int64_t period_ns = 100'000'000;
    std::int64_t next_ns = 0;

    void start(std::int64_t now_ns) { next_ns = now_ns + period_ns; }
    bool due(std::int64_t now_ns) const { return now_ns >= next_ns; }
    std::int64_t wait_ms(std::int64_t now_ns) const
    {
        return now_ns >= next_ns ? 0 : (next_ns - now_ns + 999'999) / 1'000'000;
    }
    void advance(std::int64_t now_ns)
    {
        next_ns += period_ns;
        if (now_ns >= next_ns) next_ns = now_ns + period_ns;
    }
};

inline std::int64_t monotonic_now_ns()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace gm
