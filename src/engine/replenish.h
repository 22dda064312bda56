#pragma once
#include "engine/scene.h"
#include "engine/tick.h"

namespace gm {

void add_splats(Scene& scene, const TickState& state);     // step 6
void replace_seaweed(Scene& scene, const TickState& state); // step 8
void blow_bubbles(Scene& scene, TickState& state);        // step 9
void top_up_fish(Scene& scene);                           // step 10
void next_visitor(Scene& scene, const TickState& state);  // step 11

} // namespace gm
