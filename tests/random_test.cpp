#include <gtest/gtest.h>

#include "engine/random.h"
#include "engine/scene.h"

namespace gm {

TEST(Random, ReproducesTheClassicRuntimeSequence)
{
    Random random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    EXPECT_EQ(random.next(), 26500);
    EXPECT_EQ(random.next(), 19169);
    EXPECT_EQ(random.draws(), 5u);
}

TEST(Random, StaysWithinFifteenBitsForAnySeed)
{
    for (std::uint32_t seed : {0u, 7u, 0xFFFFFFFFu, 1733563200u}) {
        Random random(seed);
        for (int i = 0; i < 10000; ++i) {
            const int value = random.next();
            ASSERT_GE(value, 0);
            ASSERT_LE(value, Random::max_value);
        }
    }
}

TEST(Random, TwoScenesDrawIndependently)
{
    Scene a;
    Scene b;
    a.random.seed(5);
    b.random.seed(5);
    const int first = a.random.next();
    a.random.next();
    EXPECT_EQ(b.random.next(), first);
}

} // namespace gm
