// The soak and the scene fuzzer are only as good as the rules they check:
// each rule must pass a scene as start_scene and tick() make it, and must
// catch the fault it is there for.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "engine/tick.h"
#include "population/population.h"
#include "scene_invariants.h"

namespace gm {
namespace {

struct Checked {
    std::string records;
    std::string population;
};

Checked check(const Scene& scene)
{
    const EntityCensus census = take_census(scene);
    return {check_records(scene, census), check_population(scene, census, scene.columns / 15)};
}

Scene started(std::int32_t columns, std::int32_t rows)
{
    Scene scene;
    start_scene(scene, columns, rows, 5);
    return scene;
}

Entity& first_named(Scene& scene, std::string_view name)
{
    for (Entity& e : scene.entities)
        if (e.is(name)) return e;
    throw std::runtime_error("no such entity");
}

TEST(EntityBound, AddsTheSceneryTheFishAndAllTheyCanHaveInFlight)
{
    // 80x24: 3 fish, bubbles rise from row 23 to row 8 at most (15 ticks).
    const EntityBound small = entity_bound(80, 24);
    EXPECT_EQ(small.fish, 3);
    EXPECT_EQ(small.bubble_life, 15);
    EXPECT_EQ(small.bubbles, 45);
    EXPECT_EQ(small.splats, 45);
    EXPECT_EQ(small.total, 4 + 1 + 5 + 3 + 45 + 45 + 3);
    // 349x98: 88 fish, bubbles from row 97.
    const EntityBound large = entity_bound(349, 98);
    EXPECT_EQ(large.fish, 88);
    EXPECT_EQ(large.bubble_life, 89);
    EXPECT_EQ(large.total, 4 + 1 + 23 + 88 + 88 * 89 + 88 * 15 + 3);
}

TEST(SceneRules, HoldForAFreshSceneAndAfterTicks)
{
    for (const auto& [columns, rows] : {std::pair{80, 24}, std::pair{240, 80}}) {
        Scene scene = started(columns, rows);
        for (int t = 0; t < 600; ++t) {
            const Checked result = check(scene);
            ASSERT_EQ(result.records, "") << columns << "x" << rows << " tick " << t;
            ASSERT_EQ(result.population, "") << columns << "x" << rows << " tick " << t;
            tick(scene);
        }
    }
}

TEST(SceneRules, CatchBrokenRecords)
{
    {
        Scene scene = started(80, 24);
        first_named(scene, "castle").frame_index = 99;
        EXPECT_NE(check(scene).records.find("shows frame 99"), std::string::npos);
    }
    {
        Scene scene = started(80, 24);
        Entity& castle = first_named(scene, "castle");
        castle.frame_sequence = {0, 1};
        castle.sequence_pos = 2;
        EXPECT_NE(check(scene).records.find("sequence position 2"), std::string::npos);
    }
    {
        Scene scene = started(80, 24);
        add_dolphins(scene);
        first_named(scene, "dolphin").path_pos = -1;
        EXPECT_NE(check(scene).records.find("path step -1"), std::string::npos);
    }
    {
        Scene scene = started(80, 24);
        first_named(scene, "water").alive = false;
        EXPECT_NE(check(scene).records.find("dead"), std::string::npos);
    }
    {
        Scene scene = started(80, 24);
        ++scene.fish_count;
        EXPECT_NE(check(scene).records.find("fish_count is 4"), std::string::npos);
    }
    {
        Scene scene = started(80, 24);
        first_named(scene, "seaweed").y = std::numeric_limits<float>::quiet_NaN();
        EXPECT_NE(check(scene).records.find("not finite"), std::string::npos);
    }
}

TEST(SceneRules, CatchABrokenPopulation)
{
    {
        Scene scene = started(80, 24);
        start_random_visitor(scene);
        EXPECT_EQ(check(scene).population, "2 live entities start the next visitor, not exactly one");
    }
    {
        Scene scene = started(80, 24);
        for (Entity& e : scene.entities) e.spawns_visitor = false;
        EXPECT_EQ(check(scene).population, "0 live entities start the next visitor, not exactly one");
    }
    {
        Scene scene = started(80, 24);
        add_seaweed(scene, 3);
        EXPECT_EQ(check(scene).population, "6 seaweed strands, but 5 were planted");
    }
    {
        Scene scene = started(80, 24);
        add_fish(scene);
        EXPECT_EQ(check(scene).population, "fish 4 above the bound 3");
    }
    {
        Scene scene = started(80, 24);
        for (int i = 0; i < 46; ++i) add_bubble(scene, 10, 20);
        EXPECT_EQ(check(scene).population, "bubbles 46 above the bound 45");
    }
    {
        Scene scene = started(80, 24);
        Entity stray = first_named(scene, "castle");
        stray.name = "dolphin";
        for (int i = 0; i < 3; ++i) scene.append(stray);
        EXPECT_NE(check(scene).population.find("visitor parts"), std::string::npos);
    }
}

} // namespace
} // namespace gm
