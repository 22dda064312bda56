#include <gtest/gtest.h>

#include "engine/collisions.h"
#include "engine/replenish.h"
#include "engine/tick.h"
#include "test_support.h"

namespace gm {

using testing::make_entity;
using testing::make_scene;

TEST(Collides, NeedsASharedVisibleCell)
{
    const Entity a = make_entity("a", "ab\n", 0, 0);
    EXPECT_FALSE(collides(a, make_entity("b", "cd\n", 2, 0))) << "rectangles that only touch";
    EXPECT_TRUE(collides(a, make_entity("b", "cd\n", 1, 0)));
    EXPECT_TRUE(collides(make_entity("b", "cd\n", 1, 0), a));
    EXPECT_FALSE(collides(a, make_entity("b", "", 0, 0))) << "no frames, no collision";

    // Overlapping rectangles whose shared cells are transparent in one of them.
    const Entity ring = make_entity("ring", "x x\n", 0, 0);
    EXPECT_FALSE(collides(ring, make_entity("dot", " o \n", 0, 0)));
    const Entity glass = [] {
        Entity e = make_entity("glass", "", 0, 0);
        e.frames.emplace_back("x x\n", 0, true);
        return e;
    }();
    EXPECT_FALSE(collides(glass, make_entity("dot", "o\n", 1, 0)));
}

TEST(Collides, RoundsPositionsDownUnlikeComposition)
{
    const Entity dot = make_entity("dot", "o\n", -1, 0);
    EXPECT_TRUE(collides(make_entity("a", "x\n", -0.5f, 0), dot));
    EXPECT_FALSE(collides(make_entity("a", "x\n", -0.5f, 0), make_entity("dot", "o\n", 0, 0)));
    EXPECT_TRUE(collides(make_entity("a", "x\n", 2.9f, 3.99f), make_entity("dot", "o\n", 2, 3)));
}

TEST(Bubbles, PopAtTheLowestWaterLineOrOnTouchingWater)
{
    Scene scene = make_scene(80, 24);
    scene.entities.push_back(make_entity("water", "~~~\n", 0, 5));
    scene.entities.push_back(make_entity("water", "~~~\n", 0, 8));
    scene.entities.push_back(make_entity("bubble", "o\n", 40, 8));
    scene.entities.push_back(make_entity("bubble", "o\n", 40, 9));
    scene.entities.push_back(make_entity("bubble", "o\n", 1, 8.5f));
    pop_bubbles(scene);
    EXPECT_FALSE(scene.entities[2].alive) << "at the row of the lowest line";
    EXPECT_TRUE(scene.entities[3].alive);
    EXPECT_FALSE(scene.entities[4].alive);

    Scene dry = make_scene(80, 24);
    dry.entities.push_back(make_entity("bubble", "o\n", 4, 0));
    pop_bubbles(dry);
    EXPECT_TRUE(dry.entities[0].alive) << "without water bubbles pop only by leaving the grid";

    // The pop follows the rise of the same tick, so the surface row never shows a bubble.
    Scene rising = make_scene(80, 24);
    rising.fish_count = 1000;
    rising.entities.push_back(make_entity("water", "~~~\n", 0, 8));
    rising.entities.push_back(make_entity("bubble", "o\n", 40, 9));
    rising.entities.back().vy = -1;
    tick(rising);
    EXPECT_EQ(rising.entities.size(), 1u);
}

namespace {

Entity free_fish(float x, float y)
{
    Entity fish = make_entity("fish", "<><\n", x, y);
    fish.counts_as_fish = true;
    fish.vx = 1;
    return fish;
}

} // namespace

TEST(Eating, TeethEatFishAndRecordASplatWhereTheTeethAre)
{
    Scene scene = make_scene(80, 24);
    scene.entities.push_back(free_fish(10, 10));
    scene.entities.push_back(make_entity("teeth", "*\n", 11.5f, 10));
    scene.fish_count = 1;
    TickState state;
    eat_and_hook(scene, state);
    EXPECT_FALSE(scene.entities[0].alive);
    EXPECT_EQ(scene.fish_count, 0);
    EXPECT_EQ(state.splats, (std::vector<Position>{{11.5f, 10}}));

    add_splats(scene, state);
    ASSERT_EQ(scene.entities.size(), 3u);
    EXPECT_EQ(scene.entities[2].name, "splat");
    EXPECT_EQ(scene.entities[2].x, 7.5f);
    EXPECT_EQ(scene.entities[2].depth, 1);
}

TEST(Hooking, CatchesOneFishAndLiftsItsWholeGroup)
{
    Scene scene = make_scene(80, 24);
    scene.entities.push_back(free_fish(10, 10));
    scene.entities.push_back(free_fish(10, 10));
    Entity line = make_entity("fishline", "|\n", 20, 0);
    line.group_id = 7;
    line.vy = 1;
    Entity point = make_entity("hook_point", "*\n", 11, 10);
    point.group_id = 7;
    Entity other_point = make_entity("hook_point", "*\n", 50, 10);
    other_point.group_id = 8;
    scene.entities.push_back(line);
    scene.entities.push_back(point);
    scene.entities.push_back(other_point);
    TickState state;
    eat_and_hook(scene, state);

    const Entity& caught = scene.entities[0];
    EXPECT_TRUE(caught.hooked);
    EXPECT_EQ(caught.vx, 0.0f);
    EXPECT_EQ(caught.vy, -1.0f);
    EXPECT_EQ(caught.depth, 5);
    EXPECT_FALSE(scene.entities[1].hooked) << "the second fish finds the point taken";
    EXPECT_TRUE(scene.entities[2].hooked);
    EXPECT_EQ(scene.entities[2].vy, -1.0f);
    EXPECT_TRUE(scene.entities[3].hooked);
    EXPECT_FALSE(scene.entities[4].hooked);
    EXPECT_TRUE(state.splats.empty());
}

TEST(Hooking, WhicheverComesFirstInTheListWins)
{
    Scene scene = make_scene(80, 24);
    scene.entities.push_back(make_entity("hook_point", "*\n", 11, 10));
    scene.entities.push_back(make_entity("teeth", "*\n", 11, 10));
    scene.entities.push_back(free_fish(10, 10));
    scene.fish_count = 1;
    TickState state;
    eat_and_hook(scene, state);
    EXPECT_TRUE(scene.entities[2].alive);
    EXPECT_TRUE(scene.entities[2].hooked);

    std::swap(scene.entities[0], scene.entities[1]);
    scene.entities[1].hooked = false;
    scene.entities[2].hooked = false;
    eat_and_hook(scene, state);
    EXPECT_FALSE(scene.entities[2].alive);
}

TEST(Hooking, AHookedFishIsNeitherEatenNorCaughtAgain)
{
    Scene scene = make_scene(80, 24);
    Entity fish = free_fish(10, 10);
    fish.hooked = true;
    scene.entities.push_back(fish);
    scene.entities.push_back(make_entity("teeth", "*\n", 11, 10));
    scene.fish_count = 1;
    TickState state;
    eat_and_hook(scene, state);
    EXPECT_TRUE(scene.entities[0].alive);
    EXPECT_EQ(scene.fish_count, 1);
}

} // namespace gm
