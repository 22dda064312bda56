#include "scene_invariants.h"

#include <algorithm>
#include <cmath>

#include "sprites/catalogue.h"
#include "sprites/sprite_frame.h"

namespace gm {

namespace {

// The lowest of the four water lines; a bubble pops once it has risen to it.
constexpr std::int64_t surface_row = 8;
constexpr std::int64_t splat_lifetime = 15;
// The largest visitors have three parts: shark and teeth are two, hook, line
// and point three, a dolphin school three. Parts never outlive the visitor:
// teeth, line and point die with their shark or hook, and the dolphin that
// starts the next visitor swims behind the other two, so it leaves last.
constexpr std::int64_t max_visitor_parts = 3;

std::int64_t tallest_fish()
{
    std::int64_t tallest = 0;
    for (const char* key : {"old_fish", "new_fish"})
        if (const CatalogueEntry* entry = find_entry(key))
            for (const SpriteArt& art : entry->variants)
                tallest = std::max<std::int64_t>(tallest, static_cast<std::int64_t>(split_rows(art.picture_text).size()));
    return tallest;
}

std::string where(const Entity& e, std::size_t index)
{
    return "entity " + std::to_string(index) + " (\"" + e.name + "\")";
}

} // namespace

EntityCensus take_census(const Scene& scene)
{
    EntityCensus census;
    for (const Entity& e : scene.entities) {
        ++census.total;
        if (!e.alive) continue;
        if (e.spawns_visitor) ++census.spawners;
        if (e.counts_as_fish) ++census.fish;
        if (e.is("water")) ++census.water;
        else if (e.is("castle")) ++census.castle;
        else if (e.is("seaweed")) ++census.seaweed;
        else if (e.is("bubble")) ++census.bubbles;
        else if (e.is("splat")) ++census.splats;
        else if (!e.counts_as_fish) ++census.visitor_parts;
    }
    return census;
}

EntityBound entity_bound(std::int32_t columns, std::int32_t rows)
{
    Scene probe;
    probe.columns = columns;
    probe.rows = rows;
    EntityBound bound;
    bound.fish = probe.fish_target();
    // A fish swims at most at row max(rows - height - 1, 9) and blows from its
    // middle row; the bubble rises a row a tick until it reaches the surface.
    const std::int64_t h = tallest_fish();
    const std::int64_t highest_start = std::max<std::int64_t>(rows - 1, 9 + h / 2);
    bound.bubble_life = std::max<std::int64_t>(highest_start - surface_row, 1);
    // Every fish can blow one bubble a tick and be eaten once, leaving a splat.
    bound.bubbles = bound.fish * bound.bubble_life;
    bound.splats = bound.fish * splat_lifetime;
    bound.visitor_parts = max_visitor_parts;
    const std::int64_t scenery = 4 + 1 + columns / 15;
    bound.total = scenery + bound.fish + bound.bubbles + bound.splats + bound.visitor_parts;
    return bound;
}

std::string check_records(const Scene& scene, const EntityCensus& census)
{
    for (std::size_t i = 0; i < scene.entities.size(); ++i) {
        const Entity& e = scene.entities[i];
        if (!e.alive) return where(e, i) + " is dead but still in the list";
        if (!std::isfinite(e.x) || !std::isfinite(e.y)) return where(e, i) + " has a position that is not finite";
        const auto frames = static_cast<std::int64_t>(e.frames.size());
        if (frames > 0 && (e.frame_index < 0 || e.frame_index >= frames))
            return where(e, i) + " shows frame " + std::to_string(e.frame_index) + " of " + std::to_string(frames);
        if (!e.frame_sequence.empty()) {
            const auto length = static_cast<std::int64_t>(e.frame_sequence.size());
            if (e.sequence_pos < 0 || e.sequence_pos >= length)
                return where(e, i) + " is at sequence position " + std::to_string(e.sequence_pos) + " of " +
                       std::to_string(length);
        }
        if (!e.path.empty()) {
            const auto length = static_cast<std::int64_t>(e.path.size());
            if (e.path_pos < 0 || e.path_pos >= length)
                return where(e, i) + " is at path step " + std::to_string(e.path_pos) + " of " + std::to_string(length);
        }
    }
    if (scene.fish_count != census.fish)
        return "fish_count is " + std::to_string(scene.fish_count) + " but " + std::to_string(census.fish) +
               " live entities count as fish";
    return {};
}

std::string check_population(const Scene& scene, const EntityCensus& census, std::int64_t seaweed_planted)
{
    const EntityBound bound = entity_bound(scene.columns, scene.rows);
    auto over = [](const char* what, std::int64_t count, std::int64_t limit) {
        return std::string(what) + " " + std::to_string(count) + " above the bound " + std::to_string(limit);
    };
    if (census.spawners != 1)
        return std::to_string(census.spawners) + " live entities start the next visitor, not exactly one";
    if (census.water != 4) return std::to_string(census.water) + " water lines instead of 4";
    if (census.castle != 1) return std::to_string(census.castle) + " castles instead of 1";
    if (census.seaweed != seaweed_planted)
        return std::to_string(census.seaweed) + " seaweed strands, but " + std::to_string(seaweed_planted) +
               " were planted";
    if (census.fish > bound.fish) return over("fish", census.fish, bound.fish);
    if (census.bubbles > bound.bubbles) return over("bubbles", census.bubbles, bound.bubbles);
    if (census.splats > bound.splats) return over("splats", census.splats, bound.splats);
    if (census.visitor_parts > bound.visitor_parts)
        return over("visitor parts", census.visitor_parts, bound.visitor_parts);
    if (census.total > bound.total) return over("entities", census.total, bound.total);
    for (std::size_t i = 0; i < scene.entities.size(); ++i)
        if (scene.entities[i].frames.empty()) return where(scene.entities[i], i) + " has no frames";
    return {};
}

} // namespace gm
