#include <gtest/gtest.h>

#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"
#include "test_support.h"

namespace gm {

using testing::make_scene;

namespace {

// The number of draws one call makes.
template <typename Creator>
std::uint64_t draws_of(Scene& scene, Creator&& creator)
{
    const std::uint64_t before = scene.random.draws();
    creator(scene);
    return scene.random.draws() - before;
}

bool frame_row_is_empty(const SpriteFrame& frame, int row)
{
    for (int column = 0; column < frame.width; ++column)
        if (frame.cell_at(column, row) != ' ') return false;
    return true;
}

} // namespace

TEST(Scenery, WaterLinesStandOnRowsFiveToEightWhateverTheGrid)
{
    Scene scene = make_scene(120, 60);
    EXPECT_EQ(draws_of(scene, add_water_lines), 0u);
    ASSERT_EQ(scene.entities.size(), 4u);
    const std::int32_t depths[] = {8, 6, 4, 2};
    for (std::size_t i = 0; i < 4; ++i) {
        const Entity& water = scene.entities[i];
        EXPECT_EQ(water.name, "water");
        EXPECT_EQ(water.y, 5.0f + static_cast<float>(i));
        EXPECT_EQ(water.depth, depths[i]);
        ASSERT_EQ(water.frames.size(), 1u);
        EXPECT_EQ(water.frames[0].width, 33);
        EXPECT_EQ(water.frames[0].default_colour, colours::dark_cyan);
        EXPECT_TRUE(water.frames[0].blanks_transparent);
        EXPECT_FALSE(water.die_offscreen);
    }
    EXPECT_EQ(scene.entities[1].frames[0].picture[0], "^^^^ ^^^  ^^^   ^^^    ^^^^      ");
}

TEST(Scenery, TheCastleStandsOnTheBottomAtTheRightAndCyclesItsGate)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, add_castle), 0u);
    ASSERT_EQ(scene.entities.size(), 1u);
    const Entity& castle = scene.entities[0];
    EXPECT_EQ(castle.x, 48.0f);
    EXPECT_EQ(castle.y, 24.0f - static_cast<float>(castle.frames[0].height));
    EXPECT_EQ(castle.depth, 22);
    EXPECT_EQ(castle.frames.size(), 6u);
    EXPECT_EQ(castle.frame_sequence, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(castle.frame_interval, 10.0f);
    EXPECT_EQ(castle.frames[0].default_colour, colours::white);
}

TEST(Scenery, SeaweedDrawsHeightSwayAndLifetimeInThatOrder)
{
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        Scene scene = make_scene(80, 24);
        scene.random.seed(seed);
        Random reference(seed);
        const int height = reference.next() % 4 + 3;
        const int sway = reference.next();
        const int lifetime = reference.next() % 2400 + 4800;

        ASSERT_EQ(draws_of(scene, [](Scene& s) { add_seaweed(s, 17); }), 3u);
        const Entity& seaweed = scene.entities.back();
        EXPECT_EQ(seaweed.name, "seaweed");
        EXPECT_EQ(seaweed.x, 17.0f);
        EXPECT_EQ(seaweed.y, static_cast<float>(24 - height));
        EXPECT_EQ(seaweed.frames.at(0).height, height);
        EXPECT_EQ(seaweed.frames.at(1).picture[0], " )");
        EXPECT_EQ(seaweed.lifetime, lifetime);
        EXPECT_EQ(seaweed.depth, 21);
        const float rate = static_cast<float>(sway / 32767.0 * 0.05 + 0.25);
        EXPECT_NEAR(seaweed.frame_interval, 1.0f / rate, 1e-4f);
        EXPECT_GE(seaweed.frame_interval, 3.33f);
        EXPECT_LE(seaweed.frame_interval, 4.0f + 1e-5f);
    }
}

TEST(Fish, DrawsInTheirOrderAndSwimInFromTheirSide)
{
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        Scene scene = make_scene(80, 24);
        scene.random.seed(seed);
        Random reference(seed);
        const int t = reference.next() % 12;
        const CatalogueEntry* entry = find_entry(t > 8 ? "new_fish" : "old_fish");
        ASSERT_NE(entry, nullptr);
        const int v = reference.next() % static_cast<int>(entry->variants.size());
        const float speed = static_cast<float>(reference.next() / 32767.0 * 2 + 0.25);
        const SpriteFrame frame = build_frame(entry->variants[static_cast<std::size_t>(v)], colours::white, true, true, reference);
        const std::int32_t room = 24 - frame.height;
        const float y = room > 9 ? static_cast<float>(reference.next() % (room - 9) + 9) : 9.0f;
        const int depth = reference.next() % 17 + 3;

        add_fish(scene);
        ASSERT_EQ(scene.random.draws(), reference.draws());
        EXPECT_TRUE(scene.random.draws() == 13 || scene.random.draws() == 14);
        EXPECT_EQ(scene.fish_count, 1);
        const Entity& fish = scene.entities.at(0);
        EXPECT_EQ(fish.name, "fish");
        EXPECT_EQ(fish.frames.at(0), frame);
        EXPECT_EQ(fish.y, y);
        EXPECT_EQ(fish.depth, depth);
        EXPECT_GE(fish.depth, 3);
        EXPECT_LE(fish.depth, 19);
        EXPECT_TRUE(fish.die_offscreen);
        EXPECT_TRUE(fish.counts_as_fish);
        if (v % 2 == 0) {
            EXPECT_EQ(fish.vx, speed);
            EXPECT_EQ(fish.x, static_cast<float>(1 - frame.width));
        } else {
            EXPECT_EQ(fish.vx, -speed);
            EXPECT_EQ(fish.x, 78.0f);
        }
    }
}

TEST(Fish, ALowGridSkipsTheRowDraw)
{
    Scene scene = make_scene(80, 14);
    for (int i = 0; i < 30; ++i) add_fish(scene);
    for (const Entity& fish : scene.entities)
        if (14 - fish.frames[0].height <= 9) {
            EXPECT_EQ(fish.y, 9.0f);
        }
}

TEST(Bubbles, RiseFromWhereTheyAreBlownAndDrawNothing)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, [](Scene& s) { add_bubble(s, 10, 12); }), 0u);
    const Entity& bubble = scene.entities.at(0);
    EXPECT_EQ(bubble.name, "bubble");
    EXPECT_EQ(bubble.vy, -1.0f);
    EXPECT_EQ(bubble.depth, 2);
    EXPECT_TRUE(bubble.die_offscreen);
    ASSERT_EQ(bubble.frames.size(), 5u);
    EXPECT_EQ(bubble.frames[0].picture[0], ".");
    EXPECT_EQ(bubble.frames[1].picture[0], "o");
    EXPECT_EQ(bubble.frames[4].picture[0], "O");
    EXPECT_EQ(bubble.frame_interval, 10.0f);
    EXPECT_EQ(bubble.frames[0].default_colour, colours::bright_cyan);
}

TEST(Splats, CentreOnTheTeethAndFadeAfterFifteenTicks)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, [](Scene& s) { add_splat(s, 30, 15, 3); }), 0u);
    const Entity& splat = scene.entities.at(0);
    EXPECT_EQ(splat.x, 26.0f);
    EXPECT_EQ(splat.y, 13.0f);
    EXPECT_EQ(splat.depth, 1);
    EXPECT_EQ(splat.lifetime, 15);
    EXPECT_EQ(splat.frame_interval, 4.0f);
    ASSERT_EQ(splat.frames.size(), 4u);
    for (const SpriteFrame& frame : splat.frames) {
        EXPECT_TRUE(frame.blanks_transparent);
        EXPECT_EQ(frame.default_colour, colours::dark_red);
    }
}

TEST(Shark, CarriesHiddenTeethInItsMouth)
{
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        Scene scene = make_scene(80, 24);
        scene.random.seed(seed);
        Random reference(seed);
        const int direction = reference.next() % 2;
        reference.next();
        EXPECT_EQ(draws_of(scene, add_shark), 2u) << "the row is drawn even where it cannot vary";
        ASSERT_EQ(scene.entities.size(), 2u);
        const Entity& teeth = scene.entities[0];
        const Entity& shark = scene.entities[1];
        EXPECT_EQ(teeth.name, "teeth");
        EXPECT_EQ(shark.name, "shark");
        EXPECT_EQ(shark.y, 9.0f);
        EXPECT_EQ(teeth.y, 16.0f);
        EXPECT_TRUE(teeth.hidden);
        EXPECT_FALSE(teeth.die_offscreen);
        EXPECT_TRUE(shark.die_offscreen);
        EXPECT_TRUE(shark.spawns_visitor);
        EXPECT_EQ(teeth.group_id, 1);
        EXPECT_EQ(shark.group_id, 1);
        EXPECT_EQ(teeth.vx, shark.vx);
        EXPECT_EQ(teeth.depth, 1);
        EXPECT_EQ(shark.depth, 2);
        if (direction == 0) {
            EXPECT_EQ(shark.x, -53.0f);
            EXPECT_EQ(teeth.x, -9.0f);
            EXPECT_EQ(shark.vx, 2.0f);
        } else {
            EXPECT_EQ(shark.x, 78.0f);
            EXPECT_EQ(teeth.x, 87.0f);
            EXPECT_EQ(shark.vx, -2.0f);
        }
    }
    Scene tall = make_scene(80, 40);
    for (int i = 0; i < 40; ++i) add_shark(tall);
    for (const Entity& e : tall.entities)
        if (e.is("shark")) {
            EXPECT_GE(e.y, 9.0f);
            EXPECT_LE(e.y, 20.0f);
        }
    EXPECT_EQ(tall.next_group_id, 41);
}

TEST(FishingHook, HangsItsLineHookAndPointFromOneColumn)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, add_fishhook), 1u);
    ASSERT_EQ(scene.entities.size(), 3u);
    const Entity& line = scene.entities[0];
    const Entity& hook = scene.entities[1];
    const Entity& point = scene.entities[2];
    const float hc = hook.x;
    EXPECT_GE(hc, 10.0f);
    EXPECT_LE(hc, 69.0f);
    EXPECT_EQ(line.name, "fishline");
    EXPECT_EQ(line.x, hc + 7);
    EXPECT_EQ(line.y, -54.0f);
    EXPECT_EQ(line.frames[0].height, 56);
    EXPECT_EQ(line.frames[0].width, 1);
    EXPECT_EQ(hook.name, "fishhook");
    EXPECT_EQ(hook.y, -4.0f);
    EXPECT_EQ(hook.frames[0].width, 8);
    EXPECT_EQ(hook.frames[0].height, 7);
    EXPECT_EQ(point.name, "hook_point");
    EXPECT_EQ(point.x, hc + 1);
    EXPECT_EQ(point.y, -2.0f);
    EXPECT_TRUE(point.hidden);
    EXPECT_FALSE(point.frames[0].is_transparent(0, 0));
    EXPECT_TRUE(point.frames[0].is_transparent(0, 1));
    EXPECT_FALSE(point.frames[0].is_transparent(0, 2));
    EXPECT_TRUE(point.frames[0].is_transparent(0, 3));
    EXPECT_TRUE(hook.spawns_visitor);
    EXPECT_TRUE(hook.die_offscreen && point.die_offscreen && !line.die_offscreen);
    for (const Entity& part : scene.entities) {
        EXPECT_EQ(part.group_id, 1);
        EXPECT_EQ(part.vy, 1.0f);
        EXPECT_EQ(part.frames[0].default_colour, colours::bright_green);
    }
    // The line's last bar hangs just above the hook's eye.
    EXPECT_EQ(line.frames[0].cell_at(0, 49), '|');
    EXPECT_EQ(line.frames[0].cell_at(0, 50), ' ');
    EXPECT_EQ(hook.frames[0].cell_at(7, 1), 'o');

    Scene narrow = make_scene(21, 24);
    add_fishhook(narrow);
    EXPECT_EQ(narrow.entities[1].x, 10.0f);
}

TEST(Dolphins, ASchoolOfThreeSharesOneGroupAndFollowsOnePath)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, add_dolphins), 1u);
    ASSERT_EQ(scene.entities.size(), 3u);
    EXPECT_EQ(scene.next_group_id, 2);
    const bool from_left = scene.entities[0].x < 0;
    const float xs_left[] = {-13, -28, -43};
    const float xs_right[] = {78, 93, 108};
    const float ys[] = {6, 3, 9};
    const std::int32_t delays[] = {24, 12, 0};
    const Colour tints[] = {colours::bright_cyan, colours::bright_blue, colours::dark_blue};
    for (std::size_t i = 0; i < 3; ++i) {
        const Entity& dolphin = scene.entities[i];
        EXPECT_EQ(dolphin.name, "dolphin");
        EXPECT_EQ(dolphin.x, from_left ? xs_left[i] : xs_right[i]);
        EXPECT_EQ(dolphin.y, ys[i]);
        EXPECT_EQ(dolphin.path_delay, delays[i]);
        EXPECT_EQ(dolphin.path.size(), 36u);
        EXPECT_EQ(dolphin.frame_interval, 2.0f);
        EXPECT_EQ(dolphin.frames.at(0).default_colour, tints[i]);
        EXPECT_EQ(dolphin.group_leader, i == 0);
        EXPECT_EQ(dolphin.die_offscreen, i == 0);
        EXPECT_EQ(dolphin.spawns_visitor, i == 2);
        EXPECT_EQ(dolphin.group_id, 1);
    }
    float rise = 0;
    for (const PathStep& step : scene.entities[0].path) rise += step.dy;
    EXPECT_EQ(rise, 0.0f);
    EXPECT_EQ(scene.entities[0].path[0].dy, -0.5f);
    EXPECT_EQ(scene.entities[0].path[0].dx, from_left ? 1.0f : -1.0f);
}

TEST(Submarine, PausesMidScreenWithItsNineFrames)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, add_submarine), 1u);
    const Entity& sub = scene.entities.at(0);
    EXPECT_EQ(sub.name, "creature");
    EXPECT_EQ(sub.frames.size(), 9u);
    EXPECT_TRUE(sub.pauses_mid_screen);
    EXPECT_EQ(sub.y, 6.0f);
    EXPECT_EQ(sub.depth, 3);
    EXPECT_TRUE(sub.x == -40.0f ? sub.vx == 1.0f : (sub.x == 78.0f && sub.vx == -1.0f));
    EXPECT_EQ(sub.frame_interval, 0.0f);
}

TEST(Whale, TwelveFramesOfBodyAndSpout)
{
    Scene scene = make_scene(80, 24);
    EXPECT_EQ(draws_of(scene, add_whale), 1u);
    const Entity& whale = scene.entities.at(0);
    ASSERT_EQ(whale.frames.size(), 12u);
    EXPECT_EQ(whale.frame_interval, 1.0f);
    EXPECT_EQ(whale.depth, 5);
    const bool from_left = whale.vx > 0;
    EXPECT_EQ(whale.x, from_left ? -18.0f : 78.0f);
    for (const SpriteFrame& frame : whale.frames) {
        EXPECT_EQ(frame.height, 8);
        EXPECT_EQ(frame.default_colour, colours::bright_blue);
    }
    for (std::size_t f = 0; f < 5; ++f)
        for (int row = 0; row < 4; ++row) EXPECT_TRUE(frame_row_is_empty(whale.frames[f], row));
    // Every drawn spout cell is bright cyan, and the spout rises from the blowhole.
    const std::size_t offset = from_left ? 11 : 1;
    for (std::size_t f = 5; f < 12; ++f) {
        const SpriteFrame& frame = whale.frames[f];
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < frame.width; ++column) {
                const char c = frame.cell_at(column, row);
                if (c != ' ') {
                    EXPECT_EQ(frame.colour_at(column, row), colours::bright_cyan);
                    EXPECT_GE(column, static_cast<int>(offset));
                }
            }
    }
    EXPECT_EQ(whale.frames[5].cell_at(static_cast<int>(offset) + 3, 3), ':') << "the first drop leaves the blowhole";
}

TEST(Visitors, OneDrawChoosesBeforeTheCreatorDrawsItsOwn)
{
    // The colour of each visitor's unmarked cells, as the aquarium shows it.
    constexpr Colour colour_of_visitor[11] = {
        colours::white,       colours::bright_blue,  colours::bright_green, colours::bright_yellow,
        colours::dark_cyan,   colours::bright_green, colours::white,        colours::white,
        colours::dark_blue,   colours::bright_yellow, colours::bright_yellow, // the school's last dolphin spawns
    };
    std::vector<bool> seen(11, false);
    for (std::uint32_t seed = 0; seed < 400; ++seed) {
        Scene scene = make_scene(80, 24);
        scene.random.seed(seed);
        Random reference(seed);
        const int r = reference.next() % 11;
        seen[static_cast<std::size_t>(r)] = true;
        start_random_visitor(scene);
        ASSERT_FALSE(scene.entities.empty()) << "visitor " << r;
        int spawners = 0;
        for (const Entity& e : scene.entities) {
            if (!e.spawns_visitor) continue;
            ++spawners;
            for (const SpriteFrame& frame : e.frames)
                EXPECT_EQ(frame.default_colour, colour_of_visitor[r]) << "visitor " << r;
        }
        EXPECT_EQ(spawners, 1) << "visitor " << r;

        const std::uint64_t draws = scene.random.draws();
        const Entity& first = scene.entities[0];
        switch (r) {
        case 0: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.y, -1.0f); EXPECT_EQ(first.depth, 7); break;
        case 1: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.frames.size(), 12u); break;
        case 2: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.frame_interval, 4.0f); EXPECT_EQ(first.depth, 5); break;
        case 3: EXPECT_TRUE(draws == 12u || draws == 13u) << draws; EXPECT_EQ(first.depth, 2); break;
        case 4: EXPECT_EQ(draws, 3u); EXPECT_EQ(first.name, "teeth"); break;
        case 5: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.name, "fishline"); break;
        case 6: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.y, 0.0f); EXPECT_EQ(first.frame_interval, 0.0f); break;
        case 7: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.y, 4.0f); EXPECT_EQ(first.frames.size(), 3u); break;
        case 8: EXPECT_EQ(draws, 2u); EXPECT_EQ(first.name, "dolphin"); break;
        case 9: EXPECT_EQ(draws, 2u); EXPECT_TRUE(first.pauses_mid_screen); break;
        case 10: EXPECT_EQ(draws, 12u); EXPECT_EQ(first.y, 9.0f); EXPECT_EQ(first.vx * first.vx, 3.5f * 3.5f); break;
        }
        if (first.name == "creature") {
            EXPECT_TRUE(first.die_offscreen);
            if (first.vx < 0) {
                EXPECT_EQ(first.x, 78.0f);
            }
        }
    }
    for (std::size_t r = 0; r < 11; ++r) EXPECT_TRUE(seen[r]) << r;
}

TEST(Visitors, RowDrawsAreSkippedOnLowGrids)
{
    Scene low = make_scene(80, 23);
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        low.random.seed(seed);
        Random reference(seed);
        if (reference.next() % 11 != 10) continue;
        low.entities.clear();
        const std::uint64_t before = low.random.draws();
        start_random_visitor(low);
        EXPECT_EQ(low.random.draws() - before, 11u) << "a sword fish on 23 rows draws no row";
        EXPECT_EQ(low.entities.at(0).y, 9.0f);
    }
}

TEST(StartScene, BuildsTheFirstPopulationInOrder)
{
    Scene scene;
    start_scene(scene, 240, 80, 42);
    EXPECT_EQ(scene.grid.columns, 240);
    EXPECT_EQ(scene.grid.rows, 80);
    std::size_t i = 0;
    for (; i < 4; ++i) EXPECT_EQ(scene.entities[i].name, "water");
    EXPECT_EQ(scene.entities[i++].name, "castle");
    for (int s = 0; s < 16; ++s, ++i) EXPECT_EQ(scene.entities[i].name, "seaweed");
    for (int f = 0; f < 48; ++f, ++i) EXPECT_EQ(scene.entities[i].name, "fish");
    EXPECT_EQ(scene.fish_count, 48);
    EXPECT_LT(i, scene.entities.size()) << "the first visitor comes last";

    Scene again;
    start_scene(again, 240, 80, 42);
    EXPECT_EQ(again.random.draws(), scene.random.draws());
    EXPECT_EQ(again.entities.size(), scene.entities.size());
}

TEST(StartScene, TinyGridsHaveNoSeaweedAndNoFish)
{
    for (auto [columns, rows] : std::initializer_list<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 3}, {14, 9}, {10, 5}}) {
        Scene scene;
        start_scene(scene, columns, rows, 7);
        for (const Entity& e : scene.entities) {
            EXPECT_NE(e.name, "seaweed");
            EXPECT_NE(e.name, "fish");
        }
    }
}

} // namespace gm
