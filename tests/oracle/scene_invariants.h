#pragma once
#include <cstdint>
#include <string>

#include "engine/scene.h"

namespace gm {

// How many entities of each sort a scene holds after a tick.
struct EntityCensus {
    std::int64_t total = 0;
    std::int64_t water = 0;
    std::int64_t castle = 0;
    std::int64_t seaweed = 0;
    std::int64_t fish = 0; // entities that count as fish
    std::int64_t bubbles = 0;
    std::int64_t splats = 0;
    std::int64_t visitor_parts = 0; // everything else: the visitors and their hidden parts
    std::int64_t spawners = 0;      // live entities that start the next visitor when they go
};

EntityCensus take_census(const Scene& scene);

// The most entities a scene of this size can hold after any tick, derived in
// docs/performance.md: the fixed scenery, the fish target, every bubble and
// splat those fish can have in flight at once, and the parts of one visitor.
struct EntityBound {
    std::int64_t fish = 0;
    std::int64_t bubble_life = 0; // ticks a bubble can live before it pops
    std::int64_t bubbles = 0;
    std::int64_t splats = 0;
    std::int64_t visitor_parts = 0;
    std::int64_t total = 0;
};

EntityBound entity_bound(std::int32_t columns, std::int32_t rows);

// Empty when the record-level rules hold for every entity: indices in range,
// nothing dead left behind by the tick, positions finite and fish_count
// equal to the live fish. Holds for any scene, however it was built.
std::string check_records(const Scene& scene, const EntityCensus& census);

// Empty when the scene also looks like one that start_scene built and only
// tick() has changed since: one visitor on its way, the scenery intact and
// every count within its bound.
std::string check_population(const Scene& scene, const EntityCensus& census, std::int64_t seaweed_planted);

} // namespace gm
