#include <gtest/gtest.h>

#include "engine/tick.h"
#include "test_support.h"

namespace gm {

using testing::make_entity;
using testing::make_scene;

namespace {

// Four rows below the fish minimum: the tick creates no fish of its own.
Scene quiet_scene(std::int32_t columns = 80, std::int32_t rows = 24)
{
    Scene scene = make_scene(columns, rows);
    scene.fish_count = 1000; // far above any target: no top-up
    return scene;
}

Entity animated(std::int32_t frames)
{
    Entity e = make_entity("creature", "", 10, 10);
    for (std::int32_t i = 0; i < frames; ++i) e.frames.emplace_back("x\n", 0, false);
    return e;
}

} // namespace

TEST(Tick, SceneryNeverMovesButStillDiesOffTheGrid)
{
    Scene scene = quiet_scene();
    for (const char* name : {"water", "castle", "seaweed"}) {
        Entity e = make_entity(name, "x\n", 5, 5);
        e.vx = 3;
        e.vy = 1;
        scene.entities.push_back(e);
    }
    Entity outside = make_entity("castle", "x\n", -5, 5);
    outside.die_offscreen = true;
    scene.entities.push_back(outside);
    tick(scene);
    ASSERT_EQ(scene.entities.size(), 3u);
    for (const Entity& e : scene.entities) EXPECT_EQ(e.x, 5.0f) << e.name;
}

TEST(Tick, LeavingTheGridUsesStrictComparisons)
{
    Scene scene = quiet_scene(80, 24);
    auto survives = [&](float x, float y) {
        Scene s = scene;
        Entity e = make_entity("rock", "abc\nabc\n", x, y); // 3 wide, 2 high
        e.die_offscreen = true;
        s.entities.push_back(e);
        tick(s);
        return !s.entities.empty();
    };
    EXPECT_TRUE(survives(-3, 0));
    EXPECT_FALSE(survives(-3.5f, 0));
    EXPECT_TRUE(survives(80, 0));
    EXPECT_FALSE(survives(80.5f, 0));
    EXPECT_TRUE(survives(0, -2));
    EXPECT_FALSE(survives(0, -2.5f));
    EXPECT_TRUE(survives(0, 24));
    EXPECT_FALSE(survives(0, 24.5f));
}

TEST(Tick, DyingOfOldAgeSkipsMovementAndCountsWhatDied)
{
    Scene scene = quiet_scene();
    Entity fish = make_entity("fish", "x\n", 5, 5);
    fish.lifetime = 1;
    fish.counts_as_fish = true;
    fish.vx = 1;
    Entity seaweed = make_entity("seaweed", "x\n", 5, 5);
    seaweed.lifetime = 1;
    Entity visitor = make_entity("creature", "x\n", 5, 5);
    visitor.lifetime = 2;
    visitor.spawns_visitor = true;
    scene.entities = {fish, seaweed, visitor};
    scene.fish_count = 1;

    TickState state;
    advance_entities(scene, state);
    EXPECT_FALSE(scene.entities[0].alive);
    EXPECT_EQ(scene.entities[0].x, 5.0f) << "not moved in the tick it died";
    EXPECT_EQ(scene.fish_count, 0);
    EXPECT_EQ(state.seaweed_lost, 1);
    EXPECT_FALSE(state.visitor_due);
    EXPECT_TRUE(scene.entities[2].alive);
    advance_entities(scene, state);
    EXPECT_TRUE(state.visitor_due);
}

TEST(Tick, FrameTimers)
{
    Entity half = animated(3);
    half.frame_interval = 0.5f;
    Entity two = animated(3);
    two.frame_interval = 2.0f;
    Entity period = animated(3);
    period.frame_period = 3;
    Entity single = animated(1);
    single.frame_interval = 0.5f;
    Scene scene = quiet_scene();
    scene.entities = {half, two, period, single};

    std::vector<std::int32_t> seen[4];
    for (int t = 0; t < 6; ++t) {
        tick(scene);
        for (std::size_t i = 0; i < 4; ++i) seen[i].push_back(scene.entities[i].frame_index);
    }
    EXPECT_EQ(seen[0], (std::vector<std::int32_t>{1, 2, 0, 1, 2, 0})) << "at most one step a tick";
    EXPECT_EQ(seen[1], (std::vector<std::int32_t>{0, 1, 1, 2, 2, 0}));
    EXPECT_EQ(seen[2], (std::vector<std::int32_t>{0, 0, 1, 1, 1, 2}));
    EXPECT_EQ(seen[3], (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0}));
}

TEST(Tick, FrameSequenceIsFollowedFromItsPosition)
{
    Entity e = animated(3);
    e.frame_period = 1;
    e.frame_sequence = {0, 1, 2, 1};
    Scene scene = quiet_scene();
    scene.entities = {e};
    std::vector<std::int32_t> seen;
    for (int t = 0; t < 5; ++t) {
        tick(scene);
        seen.push_back(scene.entities[0].frame_index);
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 1, 0, 1}));

    scene.entities[0].frame_sequence = {7, -1};
    tick(scene);
    tick(scene);
    EXPECT_EQ(scene.entities[0].frame_index, 1) << "values outside the frames are not taken";
}

TEST(Tick, PathDelayHoldsTheFirstSteps)
{
    Entity e = make_entity("dolphin", "d\n", 0, 10);
    e.follows_path = true;
    e.path = {{1, -0.5f}, {2, 0}};
    e.path_delay = 3;
    e.vx = 9; // ignored while following a path
    Scene scene = quiet_scene();
    scene.entities = {e};
    for (int t = 0; t < 3; ++t) tick(scene);
    EXPECT_EQ(scene.entities[0].x, 0.0f);
    tick(scene);
    EXPECT_EQ(scene.entities[0].x, 1.0f);
    EXPECT_EQ(scene.entities[0].y, 9.5f);
    tick(scene);
    tick(scene);
    EXPECT_EQ(scene.entities[0].x, 4.0f) << "the path is cyclic";
}

namespace {

// Ticks a pausing entity until it leaves the pause column; returns the frames
// shown on each tick it stood there.
std::vector<std::int32_t> pause_frames(Scene& scene)
{
    const float column = pause_column(scene);
    std::vector<std::int32_t> frames;
    for (int t = 0; t < 200; ++t) {
        tick(scene);
        const Entity& e = scene.entities[0];
        if (e.x == column) frames.push_back(e.frame_index);
        else if (!frames.empty()) break;
    }
    return frames;
}

} // namespace

TEST(Tick, NineFramePauseHoldsFiftyTwoTicks)
{
    Scene scene = quiet_scene(80, 24);
    Entity sub = animated(9);
    sub.pauses_mid_screen = true;
    sub.x = pause_column(scene) - 2.5f;
    sub.vx = 1;
    scene.entities = {sub};
    const std::vector<std::int32_t> frames = pause_frames(scene);
    ASSERT_EQ(frames.size(), 52u);
    std::vector<int> held(9, 0);
    for (std::int32_t f : frames) ++held[static_cast<std::size_t>(f)];
    EXPECT_EQ(held, (std::vector<int>{1, 5, 5, 10, 10, 10, 5, 5, 1}));
    EXPECT_EQ(scene.entities[0].frame_index, 8) << "moves on showing the last frame";
    EXPECT_EQ(scene.entities[0].x, pause_column(scene) + 1);
}

TEST(Tick, LandingExactlyOnThePauseColumnHoldsOneTickLonger)
{
    Scene scene = quiet_scene(80, 24);
    Entity sub = animated(9);
    sub.pauses_mid_screen = true;
    sub.x = pause_column(scene) + 3;
    sub.vx = -1; // from the right, landing exactly on the column
    scene.entities = {sub};
    const std::vector<std::int32_t> frames = pause_frames(scene);
    EXPECT_EQ(frames.size(), 53u);
    EXPECT_EQ(frames[0], 0);
    EXPECT_EQ(frames[1], 0);
    EXPECT_EQ(pause_column(scene), 20.0f);

    // With odd columns the column falls between two cells and stays there.
    Scene odd = quiet_scene(81, 30);
    sub.x = 18;
    sub.vx = 1;
    odd.entities = {sub};
    for (int t = 0; t < 3; ++t) tick(odd);
    EXPECT_EQ(odd.entities[0].x, 20.5f);
}

TEST(Tick, PausingNeedsTwoFramesAndCopesWithMoreThanTheHoldTable)
{
    Scene scene = quiet_scene(80, 24);
    Entity one = animated(1);
    one.pauses_mid_screen = true;
    one.x = 18;
    one.vx = 1;
    scene.entities = {one};
    for (int t = 0; t < 5; ++t) tick(scene);
    EXPECT_EQ(scene.entities[0].x, 23.0f);

    Entity many = animated(12);
    many.pauses_mid_screen = true;
    many.x = 19.5f;
    many.vx = 1;
    scene.entities = {many};
    const std::vector<std::int32_t> frames = pause_frames(scene);
    EXPECT_EQ(frames.back(), 11);
}

TEST(Tick, ShrinkingVerticalMotionStopsAtTheDescentLimitForMortalEntities)
{
    Scene scene = quiet_scene(80, 24);
    Entity sinker = make_entity("creature", "x\nx\n", 0, 15);
    sinker.vy = 1;
    sinker.lifetime = 100;
    scene.entities = {sinker};
    tick(scene); // 2 + 15 = 17 < 18: still sinking
    EXPECT_EQ(scene.entities[0].y, 16.0f);
    tick(scene); // 2 + 16 = 18: stops
    EXPECT_EQ(scene.entities[0].vy, 0.0f);
    EXPECT_EQ(scene.entities[0].y, 16.0f);
}

TEST(Tick, HookPartsSinkToTheDescentLimit)
{
    Scene scene = quiet_scene(80, 24);
    scene.entities = {make_entity("fishhook", "1\n2\n3\n4\n5\n6\n7\n", 10, -4)};
    for (int t = 0; t < 40; ++t) tick(scene);
    EXPECT_EQ(scene.entities[0].y, 11.0f);
    EXPECT_EQ(descent_limit(scene), 18.0f);

    // 30 rows give a limit of 22.5, not 22: the hook takes one more row.
    Scene tall = quiet_scene(80, 30);
    tall.entities = {scene.entities[0]};
    for (int t = 0; t < 40; ++t) tick(tall);
    EXPECT_EQ(tall.entities[0].y, 16.0f);
}

TEST(Tick, HookedEntitiesRiseWhateverTheirRules)
{
    Scene scene = quiet_scene(80, 24);
    Entity hooked = make_entity("fishline", "|\n", 10, 10);
    hooked.hooked = true;
    hooked.vx = 5;
    scene.entities = {hooked};
    tick(scene);
    EXPECT_EQ(scene.entities[0].y, 9.0f);
    EXPECT_EQ(scene.entities[0].x, 10.0f);
}

TEST(Tick, AGroupsCompanionsDieWithTheirLeader)
{
    Scene scene = quiet_scene(80, 24);
    Entity teeth = make_entity("teeth", "*\n", 50, 10);
    teeth.group_id = 1;
    Entity shark = make_entity("shark", "S\n", 82, 10);
    shark.die_offscreen = true;
    shark.group_id = 1;
    shark.spawns_visitor = true;
    Entity line = make_entity("fishline", "|\n", 30, 5);
    line.group_id = 2;
    Entity point = make_entity("hook_point", "*\n", 31, 5);
    point.group_id = 2;
    Entity hook = make_entity("fishhook", "J\n", 30, -3);
    hook.hooked = true;
    hook.die_offscreen = true;
    hook.group_id = 2;
    Entity other_teeth = make_entity("teeth", "*\n", 50, 12);
    other_teeth.group_id = 3;
    scene.entities = {teeth, shark, line, point, hook, other_teeth};

    scene.next_group_id = 10;
    const TickState state = tick(scene);
    EXPECT_EQ(state.departed_groups, (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(state.visitor_due);
    ASSERT_FALSE(scene.entities.empty());
    EXPECT_EQ(scene.entities[0].group_id, 3);
    for (const Entity& e : scene.entities) EXPECT_TRUE(e.group_id != 1 && e.group_id != 2) << e.name;
}

TEST(Tick, ALeaderLeavingReleasesItsSchool)
{
    Scene scene = quiet_scene(80, 24);
    Entity leader = make_entity("dolphin", "d\n", 81, 5);
    leader.die_offscreen = true;
    leader.group_leader = true;
    leader.group_id = 4;
    Entity follower = make_entity("dolphin", "d\n", 100, 5);
    follower.group_id = 4;
    Entity stranger = make_entity("dolphin", "d\n", 100, 5);
    stranger.group_id = 5;
    scene.entities = {leader, follower, stranger};

    TickState state;
    advance_entities(scene, state);
    EXPECT_EQ(state.released_groups, std::vector<std::int32_t>{4});
    release_dolphins(scene, state);
    EXPECT_TRUE(scene.entities[1].die_offscreen);
    EXPECT_FALSE(scene.entities[2].die_offscreen);
    remove_dead(scene);
    advance_entities(scene, state);
    remove_dead(scene);
    EXPECT_EQ(scene.entities.size(), 1u) << "the released follower dies once off the grid";
}

TEST(Tick, CompactionKeepsTheSurvivorsInOrder)
{
    Scene scene = quiet_scene();
    for (int i = 0; i < 6; ++i) {
        Entity e = make_entity("rock", "x\n", static_cast<float>(i), 0);
        e.alive = i % 2 == 0;
        scene.entities.push_back(e);
    }
    remove_dead(scene);
    ASSERT_EQ(scene.entities.size(), 3u);
    EXPECT_EQ(scene.entities[0].x, 0.0f);
    EXPECT_EQ(scene.entities[1].x, 2.0f);
    EXPECT_EQ(scene.entities[2].x, 4.0f);
}

TEST(Tick, EntitiesWithoutFramesOrWithStrayIndicesAreSafe)
{
    Scene scene = quiet_scene();
    Entity frameless = make_entity("fish", "", 79.5f, 5);
    frameless.vx = 1;
    frameless.die_offscreen = true;
    Entity strayed = animated(2);
    strayed.frame_index = 40;
    strayed.frame_period = 1;
    Entity strayed_pause = animated(3);
    strayed_pause.pauses_mid_screen = true;
    strayed_pause.frame_index = -7;
    strayed_pause.x = 20;
    scene.entities = {frameless, strayed, strayed_pause};
    tick(scene);
    EXPECT_EQ(scene.entities.size(), 2u) << "the frameless entity left once its position did";
    EXPECT_EQ(scene.entities[0].frame_index, 1);
    for (int t = 0; t < 30; ++t) tick(scene);
    EXPECT_LT(scene.entities[1].frame_index, 3);
}

} // namespace gm
