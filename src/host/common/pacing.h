#pragma once
#include <chrono>
#include <cstdint>

namespace gm {

// Milliseconds from now until a deadline, rounded up: a wait never ends
// before it, and never spins on a zero wait that is not yet due.
inline std::int64_t ms_until(std::int64_t now_ns, std::int64_t deadline_ns)
{
    return now_ns >= deadline_ns ? 0 : (deadline_ns - now_ns + 999'999) / 1'000'000;
}

// The sooner of two poll() waits, where a negative one has no limit.
inline std::int64_t sooner_wait(std::int64_t a_ms, std::int64_t b_ms)
{
    if (a_ms < 0) return b_ms;
    if (b_ms < 0) return a_ms;
    return a_ms < b_ms ? a_ms : b_ms;
}

// Frame deadlines on a monotonic clock. Deadlines advance by whole periods,
// so the average rate holds without drift; a frame that is more than a
// period late starts a fresh schedule instead of a burst of catch-up ticks.
struct Pacer {
    std::int64_t period_ns = 100'000'000;
    std::int64_t next_ns = 0;

    void start(std::int64_t now_ns) { next_ns = now_ns + period_ns; }
    bool due(std::int64_t now_ns) const { return now_ns >= next_ns; }
    std::int64_t wait_ms(std::int64_t now_ns) const { return ms_until(now_ns, next_ns); }
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
