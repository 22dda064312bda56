#pragma once
#include <cstdint>
#include <vector>

#include "engine/scene.h"

namespace gm {

struct Position {
    float x = 0;
    float y = 0;
    bool operator==(const Position&) const = default;
};

// What steps 1 to 5 of one tick learn and the later steps act on.
struct TickState {
    std::int32_t seaweed_lost = 0;
    bool visitor_due = false;
    std::vector<std::int32_t> released_groups;
    std::vector<std::int32_t> departed_groups;
    std::vector<Position> splats;
    std::vector<Position> bubbles;
};

inline constexpr int pause_hold_ticks[] = {1, 4, 4, 9, 9, 9, 4, 4, 1};

float pause_column(const Scene& scene);
float descent_limit(const Scene& scene);

// Advances the scene by one tick of 100 ms. Returns the working state, which
// tests inspect; hosts ignore it.
TickState tick(Scene& scene);

// The steps of a tick, in the order tick() runs them.
void advance_entities(Scene& scene, TickState& state);      // step 1
void release_dolphins(Scene& scene, const TickState& state); // step 2
void end_departed_groups(Scene& scene, const TickState& state); // step 3
void remove_dead(Scene& scene);                              // step 7

} // namespace gm
