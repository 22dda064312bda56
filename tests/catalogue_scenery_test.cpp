#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sprites/catalogue.h"
#include "sprites/small_art.h"
#include "sprites/sprite_frame.h"

namespace gm {
namespace {

using Rows = std::vector<std::string>;
using Size = std::pair<int, int>;

const CatalogueEntry& entry(std::string_view key)
{
    static const CatalogueEntry missing;
    const CatalogueEntry* found = find_entry(key);
    if (found == nullptr) ADD_FAILURE() << "no catalogue entry " << key;
    return found ? *found : missing;
}

SpriteFrame frame_of(const SpriteArt& art) { return SpriteFrame(art.picture_text, art.mask_text, colours::white, false); }

// Every picture of an entry, directions one after the other.
std::vector<SpriteArt> all_art(const CatalogueEntry& e)
{
    std::vector<SpriteArt> arts = e.variants;
    for (const auto& list : e.animations) arts.insert(arts.end(), list.begin(), list.end());
    return arts;
}

bool drawn(char c) { return c != ' ' && c != '?'; }

// The cells of a frame whose mask holds the given letter, as (x, y).
std::vector<Size> cells_marked(const SpriteFrame& f, char letter)
{
    std::vector<Size> cells;
    for (int y = 0; y < static_cast<int>(f.mask.size()); ++y)
        for (int x = 0; x < static_cast<int>(f.mask[static_cast<std::size_t>(y)].size()); ++x)
            if (f.mask_at(x, y) == letter) cells.emplace_back(x, y);
    return cells;
}

char mirrored(char c)
{
    constexpr std::string_view from = "()[]{}<>/\\`'";
    constexpr std::string_view to = ")(][}{><\\/'`";
    const std::size_t i = from.find(c);
    return i == std::string_view::npos ? c : to[i];
}

Rows trimmed(Rows rows)
{
    for (std::string& row : rows) row.erase(row.find_last_not_of(' ') + 1);
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

// A picture turned to face the other way within the given width; trailing
// blanks and empty bottom rows do not count.
Rows mirror(std::string_view text, std::size_t width, bool swap_pairs)
{
    Rows rows = split_rows(text);
    for (std::string& row : rows) {
        row.resize(width, ' ');
        std::reverse(row.begin(), row.end());
        if (swap_pairs) std::transform(row.begin(), row.end(), row.begin(), mirrored);
    }
    return trimmed(rows);
}

std::vector<Size> repeat(std::size_t n, Size size) { return std::vector<Size>(n, size); }

// The one table of the catalogue: what every entry's pictures must measure,
// which mask mark is its eye and what that mark covers, and whether its left
// pictures are the right ones turned round.
TEST(Catalogue, EveryEntryKeepsItsSizesMasksAndMirrors)
{
    struct Expected {
        std::string key;
        std::vector<Size> sizes; // variants, then the animations direction by direction
        char eye;                // the mask mark of the eye, 0 for none
        std::string eye_cells;   // the picture characters under it, in reading order
        bool mirrored;
    };
    const std::vector<Expected> table = {
        {"big_fish_1", repeat(2, {34, 15}), 'W', "o", true},
        {"big_fish_2", repeat(2, {33, 14}), 'W', "o", true},
        {"castle", repeat(6, {31, 14}), 0, "", false},
        {"dolphin", repeat(4, {14, 5}), 'W', "o", true},
        {"duck", repeat(6, {31, 4}), 0, "", true},
        {"new_fish", {{6, 6}, {6, 6}, {10, 8}, {10, 8}, {23, 10}, {23, 9}, {16, 6}, {16, 6}}, '4', "o", true},
        {"new_monster", {{54, 5}, {54, 5}, {54, 5}, {53, 5}}, 'W', "oo", true},
        {"old_fish",
         {{14, 7}, {14, 7}, {7, 6}, {7, 6}, {16, 6}, {16, 6}, {5, 4}, {5, 4},
          {9, 4}, {9, 4}, {6, 6}, {6, 6}, {5, 4}, {5, 4}, {5, 4}, {5, 4}},
         '4', "o", true},
        {"shark", repeat(2, {53, 11}), 'R', "o", true},
        {"ship", repeat(2, {25, 7}), 0, "", true},
        {"submarine", [] { auto s = repeat(9, {41, 11}); s.resize(18, {40, 11}); return s; }(), 0, "", true},
        {"swan", repeat(2, {11, 8}), 0, "", true},
        {"sword_fish", {{48, 10}, {49, 10}}, '4', "(o)", true},
        {"whale", repeat(2, {19, 5}), 'W', "o", true},
    };
    ASSERT_EQ(catalogue().size(), table.size());
    for (const Expected& want : table) {
        const CatalogueEntry& e = entry(want.key);
        const std::vector<SpriteArt> arts = all_art(e);
        ASSERT_EQ(arts.size(), want.sizes.size()) << want.key;
        std::vector<SpriteFrame> frames;
        for (const SpriteArt& art : arts) frames.push_back(frame_of(art));

        std::vector<std::string> texts = e.extras;
        for (std::size_t i = 0; i < arts.size(); ++i) {
            const SpriteFrame& f = frames[i];
            const std::string where = want.key + " picture " + std::to_string(i);
            EXPECT_EQ(Size(f.width, f.height), want.sizes[i]) << where;
            for (int x = 0; x < f.width; ++x) EXPECT_TRUE(f.is_transparent(x, 0)) << where;
            texts.push_back(arts[i].picture_text);
            texts.push_back(arts[i].mask_text);
            if (want.eye != 0) {
                std::string under_eye;
                for (const auto& [x, y] : cells_marked(f, want.eye)) under_eye += f.cell_at(x, y);
                EXPECT_EQ(under_eye, want.eye_cells) << where;
            }
        }
        for (const std::string& text : texts) {
            ASSERT_FALSE(text.empty()) << want.key;
            EXPECT_EQ(text.front(), '\n') << want.key;
            EXPECT_EQ(text.back(), '\n') << want.key;
        }

        // A mark on a blank colours nothing. Frames of one direction share a
        // mask, so a mark must hold in each of them, except on the periscope,
        // which reaches its top rows only in some frames.
        std::vector<std::vector<std::size_t>> sharing;
        std::size_t next = 0;
        for (const auto& list : e.animations) {
            sharing.emplace_back();
            for (std::size_t i = 0; i < list.size(); ++i) sharing.back().push_back(e.variants.size() + next++);
        }
        for (std::size_t i = 0; i < e.variants.size(); ++i) sharing.push_back({i});
        for (const auto& group : sharing)
            for (std::size_t i : group) {
                const SpriteFrame& f = frames[i];
                for (int y = 0; y < static_cast<int>(f.mask.size()); ++y)
                    for (int x = 0; x < static_cast<int>(f.mask[static_cast<std::size_t>(y)].size()); ++x) {
                        if (f.mask_at(x, y) == ' ') continue;
                        const auto on = [&](std::size_t g) { return drawn(frames[g].cell_at(x, y)); };
                        const bool ok = want.key == "submarine" && y < 5 ? std::any_of(group.begin(), group.end(), on)
                                                                         : on(i);
                        EXPECT_TRUE(ok) << want.key << " picture " << i << ": mask mark '" << f.mask_at(x, y)
                                        << "' on a blank at " << x << "," << y;
                    }
            }

        if (!want.mirrored) continue;
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        for (std::size_t i = 0; i + 1 < e.variants.size(); i += 2) pairs.emplace_back(i, i + 1);
        if (e.animations.size() == 2) {
            ASSERT_EQ(e.animations[0].size(), e.animations[1].size()) << want.key;
            for (std::size_t i = 0; i < e.animations[0].size(); ++i)
                pairs.emplace_back(e.variants.size() + i, e.variants.size() + e.animations[0].size() + i);
        }
        ASSERT_EQ(pairs.size() * 2, arts.size()) << want.key;
        for (const auto& [r, l] : pairs) {
            const auto width = static_cast<std::size_t>(std::max(frames[r].width, frames[l].width));
            const std::string where = want.key + " pictures " + std::to_string(r) + " and " + std::to_string(l);
            EXPECT_EQ(trimmed(split_rows(arts[l].picture_text)), mirror(arts[r].picture_text, width, true)) << where;
            EXPECT_EQ(trimmed(split_rows(arts[l].mask_text)), mirror(arts[r].mask_text, width, false)) << where;
        }
    }
}

TEST(Castle, GateOpensAndClosesWhileTheRestStands)
{
    const CatalogueEntry& castle = entry("castle");
    ASSERT_EQ(castle.variants.size(), 6u);
    std::vector<SpriteFrame> f;
    for (const SpriteArt& art : castle.variants) f.push_back(frame_of(art));
    EXPECT_EQ(f[4], f[2]);
    EXPECT_EQ(f[5], f[1]);
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_NE(f[static_cast<std::size_t>(a)], f[static_cast<std::size_t>(b)]);
            for (int y = 0; y < 11; ++y) {
                EXPECT_EQ(f[static_cast<std::size_t>(a)].picture[static_cast<std::size_t>(y)], f[static_cast<std::size_t>(b)].picture[static_cast<std::size_t>(y)]);
                EXPECT_EQ(f[static_cast<std::size_t>(a)].mask[static_cast<std::size_t>(y)], f[static_cast<std::size_t>(b)].mask[static_cast<std::size_t>(y)]);
            }
        }
    // The closed gate hides more than the open one.
    const auto gate_cells = [](const SpriteFrame& frame) { return cells_marked(frame, 'y').size(); };
    EXPECT_GT(gate_cells(f[0]), gate_cells(f[1]));
    EXPECT_GT(gate_cells(f[1]), gate_cells(f[2]));
    EXPECT_GT(gate_cells(f[2]), gate_cells(f[3]));
}

TEST(Castle, MarksFlagRoofAndGateOnTheirRows)
{
    for (const SpriteArt& art : entry("castle").variants) {
        const SpriteFrame f = frame_of(art);
        const auto flag = cells_marked(f, 'G');
        ASSERT_EQ(flag.size(), 2u);
        for (const auto& [x, y] : flag) EXPECT_EQ(y, 1);
        EXPECT_FALSE(cells_marked(f, 'r').empty());
        for (const auto& [x, y] : cells_marked(f, 'r')) EXPECT_TRUE(y >= 3 && y <= 6) << x << "," << y;
        for (const auto& [x, y] : cells_marked(f, 'y')) EXPECT_TRUE(y >= 10 && y <= 13) << x << "," << y;
        for (const std::string& row : f.mask) EXPECT_LE(row.size(), 20u);
    }
}

TEST(Visitors, EyesAndBeaksSitWhereTheyAreNamed)
{
    const auto only = [](const SpriteArt& art, char letter, std::vector<Size> want) {
        EXPECT_EQ(cells_marked(frame_of(art), letter), want) << art.picture_text;
    };
    const CatalogueEntry& dolphin = entry("dolphin");
    ASSERT_EQ(dolphin.animations.size(), 2u);
    for (std::size_t d = 0; d < 2; ++d)
        for (const SpriteArt& art : dolphin.animations[d]) {
            only(art, 'W', {{d == 0 ? 10 : 3, 3}});
            EXPECT_EQ(split_rows(art.mask_text).size(), 4u);
            EXPECT_EQ(frame_of(art).cell_at(d == 0 ? 10 : 3, 3), 'o');
        }

    const CatalogueEntry& swan = entry("swan");
    ASSERT_EQ(swan.animations.size(), 2u);
    only(swan.animations[0].at(0), 'g', {{9, 2}});
    only(swan.animations[0].at(0), 'y', {{9, 3}, {10, 3}});
    only(swan.animations[1].at(0), 'g', {{1, 2}});
    only(swan.animations[1].at(0), 'y', {{0, 3}, {1, 3}});
    for (const auto& list : swan.animations) EXPECT_EQ(split_rows(list.at(0).mask_text).size(), 4u);

    const CatalogueEntry& monster = entry("new_monster");
    ASSERT_EQ(monster.animations.size(), 2u);
    for (const SpriteArt& art : monster.animations[0]) only(art, 'W', {{48, 1}, {50, 1}});
    for (const SpriteArt& art : monster.animations[1]) only(art, 'W', {{3, 1}, {5, 1}});

    const CatalogueEntry& whale = entry("whale");
    ASSERT_EQ(whale.variants.size(), 2u);
    for (std::size_t d = 0; d < 2; ++d) {
        const SpriteFrame f = frame_of(whale.variants[d]);
        const int hole = d == 0 ? 14 : 4;
        EXPECT_EQ(f.cell_at(hole, 1), ':');
        only(whale.variants[d], 'W', {{hole, 3}});
        for (int y = 1; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                if (drawn(f.cell_at(x, y)) && !(x == hole && y == 3)) {
                    EXPECT_EQ(f.mask_at(x, y), 'B') << x << "," << y;
                }
    }
}

TEST(Visitors, ShipColoursHullMastsAndSailEdgesOnTheirRows)
{
    for (const SpriteArt& art : entry("ship").variants) {
        const SpriteFrame f = frame_of(art);
        for (const auto& [x, y] : cells_marked(f, 'y')) EXPECT_TRUE(y == 1 || y == 5 || y == 6) << x << "," << y;
        for (const auto& [x, y] : cells_marked(f, 'w')) EXPECT_TRUE(y >= 3 && y <= 5) << x << "," << y;
        EXPECT_FALSE(cells_marked(f, 'w').empty());
    }
}

TEST(Visitors, DucksTakeTurnsToOpenTheirBeaks)
{
    const CatalogueEntry& duck = entry("duck");
    ASSERT_EQ(duck.animations.size(), 2u);
    for (const auto& list : duck.animations) {
        ASSERT_EQ(list.size(), 3u);
        for (const SpriteArt& art : list) EXPECT_EQ(art.mask_text, list[0].mask_text);
        for (char letter : std::string_view("gcywW")) EXPECT_FALSE(cells_marked(frame_of(list[0]), letter).empty()) << letter;
        std::vector<int> changed_columns;
        for (std::size_t i = 0; i < 3; ++i) {
            SpriteFrame a = frame_of(list[i]);
            SpriteFrame b = frame_of(list[(i + 1) % 3]);
            for (int y = 0; y < a.height; ++y)
                if (y != 2) {
                    EXPECT_EQ(a.picture[static_cast<std::size_t>(y)], b.picture[static_cast<std::size_t>(y)]);
                }
            EXPECT_NE(a.picture[2], b.picture[2]);
            // The gaps between the ducks stay open when the creator closes row gaps.
            a.close_row_gaps(0, false);
            for (int x : {9, 10, 20, 21}) EXPECT_TRUE(a.is_transparent(x, 2)) << x;
        }
    }
}

TEST(Visitors, MonsterCoilsMoveWhileTheEyesStay)
{
    for (const auto& list : entry("new_monster").animations) {
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].mask_text, list[1].mask_text);
        SpriteFrame a = frame_of(list[0]);
        const SpriteFrame b = frame_of(list[1]);
        EXPECT_NE(a.picture, b.picture);
        // Between the coils the water must show even after the row gaps are closed.
        a.close_row_gaps(0, false);
        int open_gaps = 0;
        for (int x = 0; x < a.width; ++x)
            if (a.cell_at(x, 4) == '?' && a.is_transparent(x, 4)) ++open_gaps;
        EXPECT_GT(open_gaps, 4);
    }
}

TEST(Visitors, SubmarinePeriscopeRisesAndSinks)
{
    const CatalogueEntry& sub = entry("submarine");
    ASSERT_EQ(sub.animations.size(), 2u);
    for (const auto& list : sub.animations) {
        ASSERT_EQ(list.size(), 9u);
        std::vector<SpriteFrame> f;
        for (const SpriteArt& art : list) f.push_back(frame_of(art));
        for (std::size_t i = 0; i < 9; ++i) {
            EXPECT_EQ(f[i], f[8 - i]);
            EXPECT_EQ(list[i].mask_text, list[0].mask_text);
            for (int y = 5; y < 11; ++y) EXPECT_EQ(f[i].picture[static_cast<std::size_t>(y)], f[0].picture[static_cast<std::size_t>(y)]);
        }
        for (std::size_t a = 0; a < 5; ++a)
            for (std::size_t b = a + 1; b < 5; ++b) EXPECT_NE(f[a], f[b]);
        const auto top_row = [](const SpriteFrame& frame) {
            for (int y = 0; y < frame.height; ++y)
                if (!frame.picture[static_cast<std::size_t>(y)].empty()) return y;
            return -1;
        };
        const std::vector<int> tops = {top_row(f[0]), top_row(f[1]), top_row(f[2]), top_row(f[3]), top_row(f[4])};
        EXPECT_EQ(tops, (std::vector<int>{4, 3, 2, 1, 1}));
        for (const auto& [x, y] : cells_marked(f[0], 'w')) EXPECT_TRUE(y != 0 && y != 6) << x << "," << y;
    }
}

TEST(Visitors, WhaleSpoutGrowsAndBreaksUp)
{
    const std::vector<std::string>& spouts = entry("whale").extras;
    ASSERT_EQ(spouts.size(), 7u);
    const std::vector<int> first_drawn = {3, 2, 1, 1, 1, 2, 3};
    const std::vector<int> widths = {4, 4, 5, 6, 7, 7, 7};
    for (std::size_t i = 0; i < 7; ++i) {
        const SpriteFrame f(spouts[i], colours::white, false);
        EXPECT_EQ(f.height, 4) << i;
        EXPECT_EQ(f.width, widths[i]) << i;
        for (int y = 0; y < 4; ++y) EXPECT_EQ(f.picture[static_cast<std::size_t>(y)].empty(), y < first_drawn[i]) << i << " row " << y;
        if (i < 6) {
            EXPECT_EQ(f.cell_at(3, 3), ':') << i; // the stem, until the spray has fallen apart
        }
    }
}

TEST(SmallArt, HookKeepsItsLayout)
{
    SpriteFrame hook(fishhook_picture(), colours::white, false);
    ASSERT_EQ(Size(hook.width, hook.height), Size(8, 7));
    EXPECT_TRUE(hook.picture[0].empty());
    EXPECT_EQ(hook.cell_at(7, 1), 'o');
    for (int y = 2; y <= 3; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(drawn(hook.cell_at(x, y)), x >= 6) << x << "," << y;
    EXPECT_TRUE(drawn(hook.cell_at(0, 4)));
    EXPECT_FALSE(drawn(hook.cell_at(1, 4)));
    EXPECT_TRUE(drawn(hook.cell_at(2, 4)));
    for (int x = 3; x <= 5; ++x) EXPECT_EQ(hook.cell_at(x, 4), '?');
    EXPECT_TRUE(drawn(hook.cell_at(6, 4)) && drawn(hook.cell_at(7, 4)));
    for (int y = 5; y <= 6; ++y) EXPECT_FALSE(hook.picture[static_cast<std::size_t>(y)].empty());
    // Once its gaps are closed the hook is solid between its strokes.
    hook.close_row_gaps(0, true);
    for (int x = 1; x <= 5; ++x) EXPECT_FALSE(hook.is_transparent(x, 4)) << x;
}

TEST(SmallArt, SplatsGrowFromPunctuation)
{
    const std::vector<Size> sizes = {{5, 5}, {6, 4}, {7, 4}, {9, 5}};
    const std::vector<int> empty_top_rows = {2, 1, 0, 0};
    std::string used;
    for (std::size_t i = 0; i < 4; ++i) {
        const SpriteFrame f(splat_pictures()[i], colours::dark_red, true);
        EXPECT_EQ(Size(f.width, f.height), sizes[i]) << i;
        for (int y = 0; y < f.height; ++y)
            EXPECT_EQ(f.picture[static_cast<std::size_t>(y)].empty(), y < empty_top_rows[i]) << i << " row " << y;
        for (const std::string& row : f.picture)
            for (char c : row) {
                EXPECT_NE(std::string_view(" .*,;'`\"~").find(c), std::string_view::npos) << c;
                if (c != ' ' && used.find(c) == std::string::npos) used += c;
            }
    }
    EXPECT_EQ(used.size(), 8u) << used;
}

} // namespace
} // namespace gm
