#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "host/common/mouse_rule.h"
#include "host/common/pacing.h"
#include "host/common/signals.h"

namespace gm {

constexpr std::int64_t ms = 1'000'000;

TEST(Pacer, HoldsTheRateWithoutDrift)
{
    Pacer pacer;
    pacer.period_ns = 100 * ms;
    pacer.start(0);
    int frames = 0;
    // A frame that always runs 7 ms late still keeps the schedule.
    for (std::int64_t now = 0; now <= 10'000 * ms; now += ms) {
        if (!pacer.due(now)) continue;
        ++frames;
        pacer.advance(now + 7 * ms);
    }
    EXPECT_EQ(frames, 100);
}

TEST(Pacer, ALateFrameIsNotFollowedByABurst)
{
    Pacer pacer;
    pacer.period_ns = 100 * ms;
    pacer.start(0);
    pacer.advance(1'000 * ms); // the machine stalled for a second
    EXPECT_FALSE(pacer.due(1'000 * ms + 50 * ms));
    EXPECT_TRUE(pacer.due(1'100 * ms));
    EXPECT_EQ(pacer.wait_ms(1'000 * ms + 50 * ms), 50);
    EXPECT_EQ(pacer.wait_ms(1'000 * ms + 99'500'000), 1) << "never a zero wait before the deadline";
}

// A second deadline in the wait, such as a bus's: no limit yields to any.
TEST(Pacer, TheSoonerWaitWinsAndNoLimitYields)
{
    EXPECT_EQ(sooner_wait(-1, 40), 40);
    EXPECT_EQ(sooner_wait(0, -1), 0) << "a wait due at once";
    EXPECT_EQ(sooner_wait(-1, -1), -1);
    EXPECT_EQ(sooner_wait(90, 40), 40);
}


// The mouse rule, as a sequence of movements after the run starts at
// start_ms: each step is a position, the time it comes, and whether it ends
// the run.
struct MouseStep {
    std::int32_t x, y;
    std::uint32_t at_ms;
    bool closes;
};

struct MouseCase {
    const char* name;
    bool preview;
    std::uint32_t start_ms;
    std::vector<MouseStep> steps;
};

TEST(MouseRule, FollowsTheFirstPositionAndTheGracePeriod)
{
    const MouseCase cases[] = {
        {"the first movement never closes, even late", false, 0, {{5, 5, 60'000, false}}},
        {"a movement within the grace period does not close", false, 0, {{5, 5, 10, false}, {9, 9, 1'999, false}}},
        {"a movement away after the grace period closes", false, 0, {{5, 5, 10, false}, {9, 9, 2'000, true}}},
        {"a movement back onto the first position is ignored", false, 0,
         {{5, 5, 10, false}, {5, 5, 2'500, false}, {5, 6, 2'600, true}}},
        {"the first position is kept, not the latest", false, 0,
         {{5, 5, 10, false}, {7, 7, 100, false}, {5, 5, 3'000, false}, {7, 7, 3'100, true}}},
        {"the clock wraps: 2 s after a start near the top", false, 0xFFFF'FC00u,
         {{1, 1, 0xFFFF'FF00u, false}, {2, 2, 0x0000'0100u, false}, {2, 2, 0x0000'0400u, true}}},
        {"a negative row is a position like any other", false, 0,
         {{3, -1, 0, false}, {3, -1, 2'000, false}, {3, -2, 2'001, true}}},
        {"preview mode ignores the mouse", true, 0, {{5, 5, 10, false}, {9, 9, 5'000, false}}},
    };
    for (const MouseCase& c : cases) {
        Scene scene;
        scene.preview = c.preview;
        scene.start_tick = c.start_ms;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const MouseStep& s = c.steps[i];
            EXPECT_EQ(mouse_move_closes(scene, s.x, s.y, s.at_ms), s.closes) << c.name << ", step " << i;
        }
    }
}

// The order that would cost a frame: the loop looks at the flag, the signal
// lands, the wait begins. Held back until the wait, it cuts the wait short.
TEST(StopSignals, OneLandingJustBeforeTheWaitCutsItShort)
{
    constexpr int stops[] = {SIGUSR1};
    catch_stop_signals({.signals = stops, .held = Held::outside_waits});
    raise(SIGUSR1);
    EXPECT_FALSE(stop_requested());
    EXPECT_EQ(wait_for_input({}, 60'000), -1);
    EXPECT_EQ(errno, EINTR);
    EXPECT_EQ(stop_signal(), SIGUSR1);
}

} // namespace gm
