#include <gtest/gtest.h>

#include "host/common/pacing.h"

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

} // namespace gm
