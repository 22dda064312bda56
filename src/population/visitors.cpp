#include <utility>

#include "population/frame_rate.h"
#include "population/looks.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"

namespace gm {

namespace {

// The visitors that are one catalogue picture crossing the screen. Their
// colours are the entry's look.
constexpr CatalogueVisitor ship = {"ship", 1.0f, 7, -1.0f, 0, -24.0f, 0, true};
constexpr CatalogueVisitor monster = {"new_monster", 2.0f, 5, 1.0f, 0, -54.0f, 0.25f, true};
constexpr CatalogueVisitor swan = {"swan", 1.0f, 3, 0.0f, 0, -10.0f, 0, true};
constexpr CatalogueVisitor ducks = {"duck", 1.0f, 3, 4.0f, 0, -30.0f, 0.25f, true};
constexpr CatalogueVisitor sword_fish = {"sword_fish", 3.5f, 2, 9.0f, 14, -33.0f, 0, false};
constexpr CatalogueVisitor big_fish_1 = {"big_fish_1", 3.0f, 2, 9.0f, 15, -34.0f, 0, false};
constexpr CatalogueVisitor big_fish_2 = {"big_fish_2", 2.5f, 2, 9.0f, 14, -33.0f, 0, false};

template <const CatalogueVisitor& row>
void add(Scene& scene)
{
    add_catalogue_visitor(scene, row);
}

// The next visitor is one of these eleven, each as likely.
using Creator = void (*)(Scene&);
constexpr Creator visitors[] = {
    add<ship>,  add_whale,   add<monster>,  add_big_fish,  add_shark,     add_fishhook,
    add<swan>,  add<ducks>,  add_dolphins,  add_submarine, add<sword_fish>,
};

} // namespace

void start_random_visitor(Scene& scene)
{
    visitors[scene.random.next() % std::size(visitors)](scene);
}

void add_catalogue_visitor(Scene& scene, const CatalogueVisitor& row)
{
    const CatalogueEntry* entry = find_entry(row.key);
    if (!entry) return;
    // A row drawn at random lies between `y` and `rows - above_bottom`.
    float y = row.y;
    if (row.above_bottom > 0) {
        const std::int32_t lowest = scene.rows - row.above_bottom;
        if (lowest > 9) y = static_cast<float>(scene.random.next() % (lowest - 9) + 9);
    }
    const int direction = scene.random.next() % 2;

    std::vector<const SpriteArt*> arts;
    if (!entry->animations.empty()) {
        const std::size_t list = direction == 1 && entry->animations.size() > 1 ? 1 : 0;
        for (const SpriteArt& art : entry->animations[list]) arts.push_back(&art);
    } else if (!entry->variants.empty()) {
        const std::size_t variant = direction == 1 && entry->variants.size() >= 2 ? 1 : 0;
        arts.push_back(&entry->variants[variant]);
    }

    const Look look = look_of(row.key);
    Entity visitor;
    for (const SpriteArt* art : arts) {
        visitor.frames.push_back(build_frame(*art, look.colour, look.randomize, look.white_eye, scene.random));
        if (row.close_gaps) visitor.frames.back().close_row_gaps(0, false);
    }
    if (row.frame_rate > 0) visitor.frame_interval = interval_for_rate(row.frame_rate);
    if (visitor.frames.empty()) return;

    visitor.alive = true;
    visitor.name = "creature";
    visitor.x = direction == 0 ? row.x : static_cast<float>(scene.columns - 2);
    visitor.y = y;
    visitor.vx = direction == 0 ? row.speed : -row.speed;
    visitor.depth = row.depth;
    visitor.frame_period = 0;
    visitor.die_offscreen = true;
    visitor.spawns_visitor = true;
    scene.append(std::move(visitor));
}

void add_big_fish(Scene& scene)
{
    add_catalogue_visitor(scene, scene.random.next() % 3 == 2 ? big_fish_2 : big_fish_1);
}

} // namespace gm
