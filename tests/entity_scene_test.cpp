#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/scene.h"
#include "population/population.h"
#include "test_support.h"

namespace gm {

TEST(Entity, DefaultsAreThoseOfAFreshRecord)
{
    const Entity e;
    EXPECT_FALSE(e.alive);
    EXPECT_TRUE(e.name.empty());
    EXPECT_EQ(e.depth, 10);
    EXPECT_EQ(e.lifetime, -1);
    EXPECT_EQ(e.path_interval, 1.0f);
    EXPECT_EQ(e.group_id, 0);
    EXPECT_EQ(e.current_width(), 0);
    EXPECT_EQ(e.current_height(), 0);
    EXPECT_EQ(e.current_frame(), nullptr);
}

TEST(Entity, CopiesAreDeepAndMovesEmptyTheSource)
{
    Entity source = testing::make_entity("fish", "ab\n", 1, 2);
    source.frame_sequence = {0};
    source.path = {{1, 0}};
    Entity copy = source;
    copy.frames.emplace_back("xyz\n", 0, false);
    copy.frame_sequence.push_back(1);
    copy.path.clear();
    copy.name += "!";
    EXPECT_EQ(source.frames.size(), 1u);
    EXPECT_EQ(source.frame_sequence.size(), 1u);
    EXPECT_EQ(source.path.size(), 1u);
    EXPECT_EQ(source.name, "fish");

    Entity moved = std::move(copy);
    EXPECT_EQ(moved.frames.size(), 2u);
    EXPECT_EQ(moved.x, 1.0f);
    EXPECT_TRUE(copy.frames.empty()); // NOLINT(bugprone-use-after-move): the moved-from state is the point
}

TEST(Entity, AnIndexOutsideTheFramesShowsNothing)
{
    Entity e = testing::make_entity("fish", "ab\n", 0, 0);
    e.frame_index = 1;
    EXPECT_EQ(e.current_frame(), nullptr);
    EXPECT_EQ(e.current_width(), 0);
    e.frame_index = -1;
    EXPECT_EQ(e.current_frame(), nullptr);
}

TEST(Scene, FishTargetFollowsTheGridSize)
{
    auto target = [](std::int32_t columns, std::int32_t rows) {
        Scene scene;
        scene.columns = columns;
        scene.rows = rows;
        return scene.fish_target();
    };
    EXPECT_EQ(target(240, 80), 48);
    EXPECT_EQ(target(350, 9), 1);
    EXPECT_EQ(target(349, 10), 0);
    EXPECT_EQ(target(349, 5), 0);
    EXPECT_EQ(target(700, 3), 2);
    EXPECT_EQ(target(80, 24), 3);
    EXPECT_EQ(target(0, 0), 0);
}

TEST(Scene, EntitiesMadeFromFramesBuiltOnceStayIndependent)
{
    const std::vector<std::pair<const char*, void (*)(Scene&)>> creators = {
        {"bubble", [](Scene& s) { add_bubble(s, 1.0f, 2.0f); }},
        {"splat", [](Scene& s) { add_splat(s, 30.0f, 15.0f, 3); }},
        {"whale", [](Scene& s) { add_whale(s); }},
    };
    for (const auto& [kind, create] : creators) {
        Scene first;
        Scene second; // the same seed, so both whales face the same way
        create(first);
        ASSERT_FALSE(first.entities.empty()) << kind;
        const std::vector<SpriteFrame> built = first.entities.back().frames;
        first.entities.back().frames.front() = SpriteFrame("x\n", 0, false);
        first.entities.back().frames.pop_back();
        create(second);
        first.random.seed(1);
        create(first);
        EXPECT_EQ(second.entities.back().frames, built) << kind;
        EXPECT_EQ(first.entities.back().frames, built) << kind << " made after another was changed";
    }
}

TEST(Scene, GroupIdsStartAtOneAndNeverRepeat)
{
    Scene scene;
    EXPECT_EQ(scene.take_group_id(), 1);
    EXPECT_EQ(scene.take_group_id(), 2);
    EXPECT_EQ(scene.next_group_id, 3);
}

} // namespace gm
