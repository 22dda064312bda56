#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "population/looks.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"
#include "sprites/text_helpers.h"

namespace gm {

namespace {

// One leaping cycle: rise 7 rows, glide, sink 7 rows, glide.
std::vector<PathStep> dolphin_path(float d)
{
    std::vector<PathStep> path;
    path.insert(path.end(), 14, {d, -0.5f});
    path.insert(path.end(), 2, {d, 0.0f});
    path.insert(path.end(), 14, {d, 0.5f});
    path.insert(path.end(), 6, {d, 0.0f});
    return path;
}

struct DolphinPlace {
    std::int32_t path_delay;
    float y;
    Colour colour;
    bool leader;
};

constexpr std::array<DolphinPlace, 3> school = {{
    {24, 6.0f, look_of("dolphin").colour, true},
    {12, 3.0f, colours::bright_blue, false},
    {0, 9.0f, colours::dark_blue, false},
}};

std::string spout_mask_row(const std::string& row)
{
    std::string mask = row;
    for (char& c : mask) c = c == ' ' ? ' ' : 'C';
    return mask;
}

// Five frames of the body alone, then one for each spout picture over it.
std::vector<SpriteFrame> whale_frames_facing(const CatalogueEntry& entry, int direction)
{
    const SpriteArt& art = entry.variants[static_cast<std::size_t>(direction)];
    const std::string picture = strip_leading_newline(art.picture_text);
    const std::vector<std::string> mask_rows = split_rows(strip_leading_newline(art.mask_text));
    const auto mask_count = static_cast<std::int32_t>(mask_rows.size());
    const std::string body_mask = join_rows(mask_rows, std::max(mask_count - 4, 0), 4);
    const std::size_t spout_offset = direction == 0 ? 11 : 1;

    // Four empty rows on top keep the place of the spout.
    SpriteFrame body("\n\n\n\n" + picture, "\n\n\n\n" + body_mask, look_of("whale").colour, false);
    body.close_row_gaps(4, false);
    std::vector<SpriteFrame> frames(5, body);
    for (const std::string& spout : entry.extras) {
        std::string spout_picture;
        std::string spout_mask;
        for (const std::string& row : fit_rows(split_rows(spout), 4)) {
            const std::string shifted = std::string(spout_offset, ' ') + row;
            spout_picture += shifted + '\n';
            spout_mask += spout_mask_row(shifted) + '\n';
        }
        SpriteFrame frame(spout_picture + picture, spout_mask + body_mask, look_of("whale").colour, false);
        frame.close_row_gaps(4, false);
        frames.push_back(std::move(frame));
    }
    return frames;
}

// The whale draws no random number but its direction, so the frames of both
// directions are built once, on first use, and every whale gets a copy. Only
// called once the entry is known to have both variants.
const std::vector<SpriteFrame>& whale_frames(int direction)
{
    static const std::array<std::vector<SpriteFrame>, 2> facing = [] {
        const CatalogueEntry& entry = *find_entry("whale");
        return std::array<std::vector<SpriteFrame>, 2>{whale_frames_facing(entry, 0), whale_frames_facing(entry, 1)};
    }();
    return facing[static_cast<std::size_t>(direction)];
}

} // namespace

void add_dolphins(Scene& scene)
{
    const CatalogueEntry* entry = find_entry("dolphin");
    if (!entry || entry->animations.size() < 2) return;

    const int direction = scene.random.next() % 2;
    const std::int32_t group = scene.take_group_id();
    const float x0 = direction == 0 ? -13.0f : static_cast<float>(scene.columns - 2);
    const float spacing = direction == 0 ? 15.0f : -15.0f;

    for (std::size_t i = 0; i < school.size(); ++i) {
        const DolphinPlace& place = school[i];
        Entity dolphin;
        dolphin.alive = true;
        dolphin.name = "dolphin";
        dolphin.x = x0 - static_cast<float>(i) * spacing;
        dolphin.y = place.y;
        dolphin.depth = 3;
        dolphin.follows_path = true;
        dolphin.path = dolphin_path(direction == 0 ? 1.0f : -1.0f);
        dolphin.path_delay = place.path_delay;
        dolphin.path_interval = 1.0f;
        dolphin.frame_interval = 2.0f;
        for (const SpriteArt& art : entry->animations[static_cast<std::size_t>(direction)])
            dolphin.frames.push_back(build_frame(art, place.colour, false, false, scene.random));
        dolphin.die_offscreen = place.leader;
        dolphin.group_leader = place.leader;
        dolphin.spawns_visitor = i == school.size() - 1;
        dolphin.group_id = group;
        scene.append(std::move(dolphin));
    }
}

void add_submarine(Scene& scene)
{
    const CatalogueEntry* entry = find_entry("submarine");
    if (!entry || entry->animations.size() < 2) return;

    const int direction = scene.random.next() % 2;
    Entity submarine;
    submarine.alive = true;
    submarine.name = "creature";
    submarine.x = direction == 0 ? -40.0f : static_cast<float>(scene.columns - 2);
    submarine.vx = direction == 0 ? 1.0f : -1.0f;
    submarine.y = 6.0f;
    submarine.depth = 3;
    for (const SpriteArt& art : entry->animations[static_cast<std::size_t>(direction)])
        submarine.frames.push_back(build_frame(art, look_of("submarine").colour, false, false, scene.random));
    submarine.frame_interval = 0;
    submarine.frame_period = 0;
    submarine.pauses_mid_screen = true;
    submarine.die_offscreen = true;
    submarine.spawns_visitor = true;
    scene.append(std::move(submarine));
}

void add_whale(Scene& scene)
{
    const CatalogueEntry* entry = find_entry("whale");
    if (!entry || entry->variants.size() < 2) return;

    const int direction = scene.random.next() % 2;
    Entity whale;
    whale.alive = true;
    whale.name = "creature";
    whale.x = direction == 0 ? -18.0f : static_cast<float>(scene.columns - 2);
    whale.vx = direction == 0 ? 1.0f : -1.0f;
    whale.y = 0.0f;
    whale.depth = 5;
    whale.frame_interval = 1.0f;
    whale.frame_period = 0;
    whale.die_offscreen = true;
    whale.spawns_visitor = true;

    whale.frames = whale_frames(direction);
    scene.append(std::move(whale));
}

} // namespace gm
