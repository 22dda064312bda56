#include <gtest/gtest.h>

#include <algorithm>

#include "engine/tick.h"
#include "population/population.h"
#include "test_support.h"

namespace gm {

using testing::make_entity;
using testing::make_scene;

namespace {

// A seed whose first draw sends a visitor in the given direction.
std::uint32_t seed_for_direction(int direction)
{
    for (std::uint32_t seed = 0;; ++seed)
        if (Random(seed).next() % 2 == direction) return seed;
}

const Entity* find(const Scene& scene, std::string_view name)
{
    for (const Entity& e : scene.entities)
        if (e.is(name)) return &e;
    return nullptr;
}

int count_spawners(const Scene& scene)
{
    return static_cast<int>(std::count_if(scene.entities.begin(), scene.entities.end(),
                                          [](const Entity& e) { return e.alive && e.spawns_visitor; }));
}

} // namespace

TEST(Lifecycle, ASharkEatsAFishAndLeavesASplatAtItsTeeth)
{
    Scene scene = make_scene(80, 24);
    scene.fish_count = 1000;
    scene.random.seed(seed_for_direction(0));
    add_shark(scene);
    Entity prey = make_entity("fish", "<><\n", 30, 16);
    prey.counts_as_fish = true;
    scene.entities.push_back(prey);

    for (int t = 0; t < 40; ++t) {
        const std::int32_t before = scene.fish_count;
        tick(scene);
        const auto eaten = std::none_of(scene.entities.begin(), scene.entities.end(),
                                        [](const Entity& e) { return e.is("fish") && e.x == 30.0f; });
        if (!eaten) continue;
        EXPECT_EQ(scene.fish_count, before - 1);
        const Entity* teeth = find(scene, "teeth");
        const Entity* splat = find(scene, "splat");
        ASSERT_NE(teeth, nullptr);
        ASSERT_NE(splat, nullptr) << "the splat comes in the tick the fish is eaten";
        EXPECT_EQ(splat->x, teeth->x - 4);
        EXPECT_EQ(splat->y, teeth->y - 2);
        EXPECT_EQ(splat->frame_index, 0);
        return;
    }
    FAIL() << "the shark's teeth never met the fish";
}

TEST(Lifecycle, TheHookSinksCatchesOneFishAndRisesOutWithIt)
{
    Scene scene = make_scene(80, 24);
    scene.fish_count = 1000;
    add_fishhook(scene);
    for (int t = 0; t < 30; ++t) tick(scene);
    const Entity* hook = find(scene, "fishhook");
    const Entity* line = find(scene, "fishline");
    const Entity* point = find(scene, "hook_point");
    ASSERT_TRUE(hook && line && point);
    EXPECT_EQ(hook->y, 11.0f);
    EXPECT_EQ(line->y, -38.0f);
    EXPECT_EQ(point->y, 14.0f);

    const float column = point->x;
    Entity first = make_entity("fish", "<><\n", column - 1, 16);
    first.counts_as_fish = true;
    first.die_offscreen = true;
    Entity second = first;
    scene.entities.push_back(first);
    scene.entities.push_back(second);
    tick(scene);
    int hooked = 0;
    for (const Entity& e : scene.entities) hooked += e.is("fish") && e.hooked ? 1 : 0;
    EXPECT_EQ(hooked, 1) << "one fish per hook";

    bool new_visitor = false;
    for (int t = 0; t < 60 && !new_visitor; ++t) {
        const TickState state = tick(scene);
        if (!find(scene, "fishhook")) {
            EXPECT_TRUE(state.visitor_due);
            EXPECT_EQ(find(scene, "fishline"), nullptr);
            EXPECT_EQ(find(scene, "hook_point"), nullptr);
            EXPECT_EQ(count_spawners(scene), 1) << "the next visitor starts in the same tick";
            new_visitor = true;
        }
    }
    EXPECT_TRUE(new_visitor);
    for (const Entity& e : scene.entities) EXPECT_FALSE(e.is("fish") && e.hooked) << "the catch has left the grid";
}

TEST(Lifecycle, AHookThatCatchesNothingWaitsAndNoOtherVisitorComes)
{
    Scene scene = make_scene(80, 24);
    scene.fish_count = 1000;
    add_fishhook(scene);
    for (int t = 0; t < 500; ++t) tick(scene);
    EXPECT_NE(find(scene, "fishhook"), nullptr);
    EXPECT_EQ(count_spawners(scene), 1);
}

TEST(Lifecycle, DolphinFollowersDieOnlyAfterTheirLeaderHasLeft)
{
    Scene scene = make_scene(80, 24);
    scene.fish_count = 1000;
    scene.random.seed(seed_for_direction(0));
    add_dolphins(scene);
    for (int t = 0; t < 24; ++t) tick(scene);
    EXPECT_EQ(scene.entities[0].x, -13.0f);
    EXPECT_EQ(scene.entities[1].x, -16.0f);
    EXPECT_EQ(scene.entities[2].x, -19.0f);

    bool leader_gone = false;
    for (int t = 0; t < 400; ++t) {
        const TickState state = tick(scene);
        const auto dolphins = std::count_if(scene.entities.begin(), scene.entities.end(),
                                            [](const Entity& e) { return e.is("dolphin"); });
        const bool leader_here = std::any_of(scene.entities.begin(), scene.entities.end(),
                                             [](const Entity& e) { return e.is("dolphin") && e.group_leader; });
        if (!leader_here) leader_gone = true;
        if (!leader_gone) {
            EXPECT_EQ(dolphins, 3);
        }
        if (dolphins == 0) {
            EXPECT_TRUE(state.visitor_due);
            EXPECT_EQ(count_spawners(scene), 1);
            return;
        }
    }
    FAIL() << "the school never left";
}

TEST(Lifecycle, TheSubmarinePausesAtTheSameColumnFromEitherSide)
{
    for (int direction : {0, 1}) {
        Scene scene = make_scene(80, 24);
        scene.fish_count = 1000;
        scene.random.seed(seed_for_direction(direction));
        add_submarine(scene);
        std::vector<std::int32_t> frames;
        for (int t = 0; t < 200; ++t) {
            tick(scene);
            const Entity& sub = scene.entities[0];
            if (!sub.pauses_mid_screen || (!frames.empty() && sub.x != 20.0f)) break;
            if (sub.x == 20.0f) frames.push_back(sub.frame_index);
        }
        EXPECT_EQ(frames.size(), 53u) << "direction " << direction;
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.front(), 0);
        EXPECT_EQ(frames.back(), 8);
    }
}

TEST(Lifecycle, TheAquariumKeepsItsPopulationOverALongRun)
{
    Scene scene;
    start_scene(scene, 240, 80, 2026);
    const std::int32_t target = scene.fish_target();
    const auto seaweed = [](const Scene& s) {
        return std::count_if(s.entities.begin(), s.entities.end(), [](const Entity& e) { return e.is("seaweed"); });
    };
    const auto strands = seaweed(scene);
    int short_ticks = 0;
    for (int t = 0; t < 20000; ++t) {
        tick(scene);
        const auto fish = std::count_if(scene.entities.begin(), scene.entities.end(),
                                        [](const Entity& e) { return e.counts_as_fish; });
        ASSERT_EQ(scene.fish_count, fish) << "tick " << t;
        ASSERT_EQ(count_spawners(scene), 1) << "tick " << t;
        ASSERT_EQ(seaweed(scene), strands) << "tick " << t;
        // One fish comes back per tick, so only a loss of several at once
        // leaves the school short for more than a tick or two.
        short_ticks = scene.fish_count < target ? short_ticks + 1 : 0;
        ASSERT_LE(short_ticks, 8) << "tick " << t;
        ASSERT_GE(scene.fish_count, target - 8) << "tick " << t;
        for (const Entity& e : scene.entities) ASSERT_NE(e.current_frame(), nullptr) << e.name;
    }
}

} // namespace gm
