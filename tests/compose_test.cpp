#include <gtest/gtest.h>

#include "render/compose.h"
#include "test_support.h"

namespace gm {

using testing::make_entity;
using testing::make_scene;
using testing::row_text;

namespace {

Entity water(std::string_view segment, float y, std::int32_t depth)
{
    Entity e = make_entity("water", "", 0, y, depth);
    e.frames.emplace_back(segment, colours::dark_cyan, true);
    return e;
}

} // namespace

TEST(Compose, AnEmptySceneGivesAnEmptyGrid)
{
    Scene scene = make_scene(4, 3);
    compose(scene);
    for (const Cell& cell : scene.grid.cells) EXPECT_EQ(cell, (Cell{' ', 0}));
}

TEST(Compose, RebuildsTheGridEveryTimeAndFollowsTheSceneSize)
{
    Scene scene = make_scene(4, 2);
    scene.entities.push_back(make_entity("rock", "ab\n", 0, 0));
    compose(scene);
    scene.entities.clear();
    scene.columns = 6;
    compose(scene);
    EXPECT_EQ(scene.grid.columns, 6);
    EXPECT_EQ(row_text(scene.grid, 0), "      ");
}

TEST(Compose, PositionsAreTruncatedTowardZero)
{
    Scene scene = make_scene(5, 1);
    scene.entities.push_back(make_entity("rock", "ab\n", -0.5f, 0));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "ab   ");
    scene.entities[0].x = -1.5f;
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "b    ");
    scene.entities[0].x = 3.9f;
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "   ab");
}

TEST(Compose, SmallerDepthIsInFrontAndEqualDepthsKeepListOrder)
{
    Scene scene = make_scene(3, 1);
    scene.entities.push_back(make_entity("near", "NNN\n", 0, 0, 3));
    scene.entities.push_back(make_entity("far", "FFF\n", 0, 0, 10));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "NNN");

    scene.entities[1].depth = 3;
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "FFF") << "the later of two equal depths is drawn last";
    std::swap(scene.entities[0], scene.entities[1]);
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "NNN");

    // A crowd on one cell: too many for the order to survive by chance.
    Scene crowd = make_scene(1, 1);
    for (char c = 'a'; c < 'a' + 20; ++c) crowd.entities.push_back(make_entity("fish", std::string(1, c) + "\n", 0, 0, 5));
    compose(crowd);
    EXPECT_EQ(crowd.grid.at(0, 0).character, 'a' + 19);
}

TEST(Compose, EnclosedBlanksHideWhatIsBehindAndOutsideBlanksDoNot)
{
    Scene scene = make_scene(5, 3);
    scene.entities.push_back(make_entity("back", "xxxxx\nxxxxx\nxxxxx\n", 0, 0, 20));
    scene.entities.push_back(make_entity("box", " ### \n #?# \n ### \n", 0, 0, 5));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 1), "x###x");
    EXPECT_EQ(scene.grid.at(2, 1).character, '\0') << "an enclosed '?' is an opaque blank";
    EXPECT_EQ(row_text(scene.grid, 0), "x###x");

    Entity see_through = make_entity("glass", "", 0, 0, 1);
    see_through.frames.emplace_back("# #\n", 0, true);
    scene.entities.push_back(see_through);
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "####x");
}

TEST(Compose, MaskLettersColourCellsAndOtherCharactersTakeTheDefault)
{
    Scene scene = make_scene(4, 1);
    Entity e = make_entity("fish", "", 0, 0);
    e.frames.emplace_back("abcd\n", "Ra5\n", 0x123456, false);
    scene.entities.push_back(e);
    compose(scene);
    EXPECT_EQ(scene.grid.at(0, 0).colour, colours::bright_red);
    EXPECT_EQ(scene.grid.at(1, 0).colour, 0x123456u);
    EXPECT_EQ(scene.grid.at(2, 0).colour, 0x123456u);
    EXPECT_EQ(scene.grid.at(3, 0).colour, 0x123456u) << "beyond the mask row";
}

TEST(Compose, SkipsHiddenDeadAndFramelessEntities)
{
    Scene scene = make_scene(3, 1);
    Entity hidden = make_entity("teeth", "***\n", 0, 0);
    hidden.hidden = true;
    Entity dead = make_entity("fish", "ddd\n", 0, 0);
    dead.alive = false;
    Entity frameless = make_entity("fish", "", 0, 0);
    Entity strayed = make_entity("fish", "sss\n", 0, 0);
    strayed.frame_index = 4;
    for (const Entity& e : {hidden, dead, frameless, strayed}) scene.entities.push_back(e);
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "   ");
}

TEST(Compose, ClipsFramesAtEveryEdge)
{
    Scene scene = make_scene(3, 2);
    scene.entities.push_back(make_entity("big", "abcde\nfghij\nklmno\n", -1, -1));
    scene.entities.push_back(make_entity("far", "zz\n", 1e10f, -1e10f));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "ghi");
    EXPECT_EQ(row_text(scene.grid, 1), "lmn");
}

TEST(Water, TilesAcrossTheGridAndFillsOnlyEmptyCells)
{
    Scene scene = make_scene(80, 1);
    const std::string segment = "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~A";
    ASSERT_EQ(segment.size(), 33u);
    scene.entities.push_back(water(segment, 0, 8));
    scene.entities.push_back(make_entity("fish", "<>\n", 40, 0, 19));
    compose(scene);
    const std::string row = row_text(scene.grid, 0);
    EXPECT_EQ(row[32], 'A');
    EXPECT_EQ(row[65], 'A');
    EXPECT_EQ(row[79], '~') << "the third tile is cut after 14 columns";
    EXPECT_EQ(row.substr(40, 2), "<>") << "water lies behind every entity";
    EXPECT_EQ(scene.grid.at(0, 0).colour, colours::dark_cyan);

    Scene narrow = make_scene(4, 1);
    narrow.entities.push_back(water("^", 0, 8));
    compose(narrow);
    EXPECT_EQ(row_text(narrow.grid, 0), "^^^^");
}

TEST(Water, DoesNotFillTheEnclosedBlanksOfAnEntity)
{
    Scene scene = make_scene(5, 3);
    scene.entities.push_back(water("~~~~~", 1, 8));
    scene.entities.push_back(make_entity("fish", "/--\\\n|  |\n\\--/\n", 0, 0, 19));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 1), "|##|~");
}

TEST(Water, FrontLinesHideTheFishingGearAndTheFrontmostTheDolphins)
{
    Scene scene = make_scene(4, 4);
    const float rows[] = {0, 1, 2, 3};
    const std::int32_t depths[] = {8, 6, 4, 2};
    for (int i = 0; i < 4; ++i) scene.entities.push_back(water("~ ", rows[i], depths[i]));
    scene.entities.push_back(make_entity("fishline", "|\n|\n|\n|\n", 0, 0, 6));
    scene.entities.push_back(make_entity("fishline", "|\n|\n|\n|\n", 1, 0, 6));
    scene.entities.push_back(make_entity("dolphin", "d\nd\nd\nd\n", 2, 0, 3));
    scene.entities.push_back(make_entity("dolphin", "d\nd\nd\nd\n", 3, 0, 3));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "||dd");
    EXPECT_EQ(row_text(scene.grid, 1), "||dd");
    EXPECT_EQ(row_text(scene.grid, 2), "~#dd") << "depth 4 replaces the line, not the dolphins";
    EXPECT_EQ(row_text(scene.grid, 3), "~#~#") << "depth 2 replaces both";
    EXPECT_EQ(scene.grid.at(1, 3).colour, 0u);
}

TEST(Water, OnlyGearDrawnEarlierInTheSameCompositionIsHidden)
{
    Scene scene = make_scene(2, 1);
    scene.entities.push_back(water("~~", 0, 2));
    // In front of the water (smaller depth), so drawn after it: untouched.
    scene.entities.push_back(make_entity("fishline", "|\n", 0, 0, 1));
    compose(scene);
    EXPECT_EQ(row_text(scene.grid, 0), "|~");
}

TEST(Stamp, FillOnlyWritesEmptyCells)
{
    CellGrid grid(3, 1);
    grid.at(1, 0).character = 'x';
    stamp(grid, SpriteFrame("abc\n", 0, false), 0, 0, true);
    EXPECT_EQ(testing::row_text(grid, 0), "axc");
    stamp(grid, SpriteFrame("abc\n", 0, false), 0, 0, false);
    EXPECT_EQ(testing::row_text(grid, 0), "abc");
}

} // namespace gm
