#pragma once
#include "engine/entity.h"
#include "engine/scene.h"
#include "engine/tick.h"

namespace gm {

// Whether the visible cells of the two current frames share a grid cell.
// Positions are rounded down here (-0.5 is column -1), unlike composition.
bool collides(const Entity& a, const Entity& b);

void pop_bubbles(Scene& scene);                     // step 4
void eat_and_hook(Scene& scene, TickState& state);  // step 5

} // namespace gm
