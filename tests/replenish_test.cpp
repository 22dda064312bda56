#include <gtest/gtest.h>

#include "engine/replenish.h"
#include "engine/tick.h"
#include "test_support.h"

namespace gm {

using testing::make_entity;
using testing::make_scene;

TEST(Replenish, LostSeaweedIsReplacedInTheSameTickWithItsColumnDrawFirst)
{
    Scene scene = make_scene(3, 5);
    Entity old = make_entity("seaweed", "(\n", 1, 4);
    old.lifetime = 1;
    scene.entities = {old, old};
    const TickState state = tick(scene);
    EXPECT_EQ(state.seaweed_lost, 2);
    ASSERT_EQ(scene.entities.size(), 2u);
    for (const Entity& e : scene.entities) {
        EXPECT_EQ(e.name, "seaweed");
        EXPECT_EQ(e.x, 1.0f) << "with three columns or fewer every strand stands in column 1";
    }
    EXPECT_EQ(scene.random.draws(), 8u) << "one column draw and three of the creator's per strand";
}

TEST(Replenish, FishBlowBubblesAtTheirLeadingEdgeLevelWithTheirMiddle)
{
    Scene scene = make_scene(80, 5); // no fish target: nothing else draws
    Entity left = make_entity("fish", "a\nb\nc\nd\ne\n", 30, 12);
    left.vx = -1;
    Entity right = make_entity("fish", "abcd\nabcd\n", 10, 3);
    right.vx = 1;
    Entity hooked = right;
    hooked.hooked = true;
    scene.entities = {left, hooked, right};

    // Find a seed whose two draws both blow a bubble: r % 100 > 97.
    std::uint32_t seed = 0;
    for (;; ++seed) {
        Random probe(seed);
        if (probe.next() % 100 > 97 && probe.next() % 100 > 97) break;
    }
    scene.random.seed(seed);
    TickState state;
    blow_bubbles(scene, state);
    EXPECT_EQ(scene.random.draws(), 2u) << "the hooked fish draws nothing";
    EXPECT_EQ(state.bubbles, (std::vector<Position>{{30, 14}, {14, 4}}));
    ASSERT_EQ(scene.entities.size(), 5u);
    EXPECT_EQ(scene.entities[3].name, "bubble");
}

TEST(Replenish, OneFishPerTickTowardsTheTarget)
{
    Scene scene = make_scene(350, 14); // target 5
    ASSERT_EQ(scene.fish_target(), 5);
    for (int t = 1; t <= 7; ++t) {
        top_up_fish(scene);
        EXPECT_EQ(scene.fish_count, std::min(t, 5));
    }
    Scene empty = make_scene(349, 10);
    top_up_fish(empty);
    EXPECT_TRUE(empty.entities.empty());
}

TEST(Replenish, TwoVisitorEndsInOneTickStartOneVisitor)
{
    Scene scene = make_scene(80, 5);
    scene.fish_count = 1000;
    Entity a = make_entity("creature", "x\n", 90, 0);
    a.die_offscreen = true;
    a.spawns_visitor = true;
    scene.entities = {a, a};
    tick(scene);
    EXPECT_EQ(scene.random.draws() > 0, true);
    int spawners = 0;
    for (const Entity& e : scene.entities) spawners += e.spawns_visitor ? 1 : 0;
    EXPECT_EQ(spawners, 1);
}

} // namespace gm
