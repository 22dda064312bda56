#include "population/frame_rate.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"

namespace gm {

namespace {

void add_sword_fish(Scene& scene)
{
    const float y = scene.rows - 14 > 9 ? static_cast<float>(scene.random.next() % (scene.rows - 23) + 9) : 9.0f;
    add_catalogue_visitor(scene, "sword_fish", colours::bright_yellow, 3.5f, 2, y, -33.0f, true, 0, true, "creature",
                          false, false);
}

} // namespace

void start_random_visitor(Scene& scene)
{
    switch (scene.random.next() % 11) {
    case 0:
        add_catalogue_visitor(scene, "ship", colours::white, 1.0f, 7, -1.0f, -24.0f, false, 0, true, "creature", true,
                              false);
        break;
    case 1: add_whale(scene); break;
    case 2:
        add_catalogue_visitor(scene, "new_monster", colours::bright_green, 2.0f, 5, 1.0f, -54.0f, false, 0.25f, true,
                              "creature", true, false);
        break;
    case 3: add_big_fish(scene); break;
    case 4: add_shark(scene); break;
    case 5: add_fishhook(scene); break;
    case 6:
        add_catalogue_visitor(scene, "swan", colours::white, 1.0f, 3, 0.0f, -10.0f, false, 0, true, "creature", true,
                              false);
        break;
    case 7:
        add_catalogue_visitor(scene, "duck", colours::white, 1.0f, 3, 4.0f, -30.0f, false, 0.25f, true, "creature",
                              true, false);
        break;
    case 8: add_dolphins(scene); break;
    case 9: add_submarine(scene); break;
    default: add_sword_fish(scene); break;
    }
}

void add_catalogue_visitor(Scene& scene, std::string_view key, Colour colour, float speed, std::int32_t depth,
                           float y, float x, bool randomize, float frame_rate, bool spawns,
                           std::string_view entity_name, bool close_gaps, bool gaps_include_marks)
{
    const CatalogueEntry* entry = find_entry(key);
    if (!entry) return;
    const int direction = scene.random.next() % 2;

    std::vector<const SpriteArt*> arts;
    if (!entry->animations.empty()) {
        const std::size_t list = direction == 1 && entry->animations.size() > 1 ? 1 : 0;
        for (const SpriteArt& art : entry->animations[list]) arts.push_back(&art);
    } else if (!entry->variants.empty()) {
        const std::size_t variant = direction == 1 && entry->variants.size() >= 2 ? 1 : 0;
        arts.push_back(&entry->variants[variant]);
    }

    Entity visitor;
    for (const SpriteArt* art : arts) {
        visitor.frames.push_back(build_frame(*art, colour, randomize, false, scene.random));
        if (close_gaps) visitor.frames.back().close_row_gaps(0, gaps_include_marks);
    }
    if (frame_rate > 0) visitor.frame_interval = interval_for_rate(frame_rate);
    if (visitor.frames.empty()) return;

    visitor.alive = true;
    visitor.name = std::string(entity_name);
    visitor.x = direction == 0 ? x : static_cast<float>(scene.columns - 2);
    visitor.y = y;
    visitor.vx = direction == 0 ? speed : -speed;
    visitor.depth = depth;
    visitor.frame_period = 0;
    visitor.die_offscreen = true;
    visitor.spawns_visitor = spawns;
    scene.append(visitor);
}

void add_big_fish(Scene& scene)
{
    const bool second_kind = scene.random.next() % 3 == 2;
    const std::string_view key = second_kind ? "big_fish_2" : "big_fish_1";
    const float speed = second_kind ? 2.5f : 3.0f;
    const float x = second_kind ? -33.0f : -34.0f;
    const std::int32_t base = second_kind ? scene.rows - 14 : scene.rows - 15;
    const float y = base > 9 ? static_cast<float>(scene.random.next() % (base - 9) + 9) : 9.0f;
    add_catalogue_visitor(scene, key, colours::bright_yellow, speed, 2, y, x, true, 0, true, "creature", false, false);
}

} // namespace gm
