#include <array>
#include <string_view>
#include <utility>

#include "population/frame_rate.h"
#include "population/looks.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"
#include "sprites/text_helpers.h"

namespace gm {

namespace {

struct WaterLine {
    std::string_view segment;
    float y;
    std::int32_t depth;
};

// Each segment is 33 columns, trailing blanks included; composition tiles it
// across the whole width.
constexpr std::array<WaterLine, 4> water_lines = {{
    {"~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~", 5.0f, 8},
    {"^^^^ ^^^  ^^^   ^^^    ^^^^      ", 6.0f, 6},
    {"^^^^      ^^^^     ^^^    ^^     ", 7.0f, 4},
    {"^^      ^^^^      ^^^    ^^^^^^  ", 8.0f, 2},
}};

} // namespace

void add_water_lines(Scene& scene)
{
    for (const WaterLine& line : water_lines) {
        Entity water;
        water.alive = true;
        water.name = "water";
        water.x = 0.0f;
        water.y = line.y;
        water.depth = line.depth;
        water.frames.emplace_back(line.segment, colours::dark_cyan, true);
        scene.append(std::move(water));
    }
}

void add_castle(Scene& scene)
{
    const CatalogueEntry* entry = find_entry("castle");
    if (!entry || entry->variants.empty()) return;

    Entity castle;
    castle.alive = true;
    castle.name = "castle";
    for (const SpriteArt& art : entry->variants)
        castle.frames.push_back(build_frame(art, look_of("castle").colour, false, false, scene.random));
    castle.x = static_cast<float>(scene.columns - 32);
    castle.y = static_cast<float>(scene.rows - 13);
    if (!castle.frames.empty()) castle.y = static_cast<float>(scene.rows - castle.frames.front().height);
    castle.depth = 22;
    if (castle.frames.size() >= 6) {
        castle.frame_sequence = {0, 1, 2, 3, 4, 5};
        castle.frame_index = castle.frame_sequence.front();
    }
    castle.frame_interval = 10.0f;
    castle.frame_period = 0;
    scene.append(std::move(castle));
}

void add_seaweed(Scene& scene, std::int32_t column)
{
    const std::int32_t height = scene.random.next() % 4 + 3;
    const auto sway = static_cast<float>(scene.random.next() / 32767.0 * 0.05 + 0.25);
    const std::int32_t lifetime = scene.random.next() % 2400 + 4800;

    Entity seaweed;
    seaweed.alive = true;
    seaweed.name = "seaweed";
    seaweed.x = static_cast<float>(column);
    seaweed.y = static_cast<float>(scene.rows - height);
    seaweed.depth = 21;
    seaweed.frames.push_back(seaweed_strand(height, false));
    seaweed.frames.push_back(seaweed_strand(height, true));
    seaweed.frame_interval = interval_for_rate(sway);
    seaweed.frame_period = 0;
    seaweed.lifetime = lifetime;
    scene.append(std::move(seaweed));
}

} // namespace gm
