#include "engine/replenish.h"

#include <algorithm>

#include "population/population.h"

namespace gm {

void add_splats(Scene& scene, const TickState& state)
{
    for (const Position& at : state.splats) add_splat(scene, at.x, at.y, 3);
}

void replace_seaweed(Scene& scene, const TickState& state)
{
    for (std::int32_t i = 0; i < state.seaweed_lost; ++i) {
        const int r = scene.random.next();
        add_seaweed(scene, r % std::max(scene.columns - 2, 1) + 1);
    }
}

void blow_bubbles(Scene& scene, TickState& state)
{
    for (const Entity& fish : scene.entities) {
        if (!fish.alive || !fish.is("fish") || fish.hooked) continue;
        if (scene.random.next() % 100 <= 97) continue;
        const float x = fish.x + (fish.vx > 0 ? static_cast<float>(fish.current_width()) : 0.0f);
        const float y = fish.y + static_cast<float>(fish.current_height() / 2);
        state.bubbles.push_back({x, y});
    }
    for (const Position& at : state.bubbles) add_bubble(scene, at.x, at.y);
}

void top_up_fish(Scene& scene)
{
    if (scene.fish_count < scene.fish_target()) add_fish(scene);
}

void next_visitor(Scene& scene, const TickState& state)
{
    if (state.visitor_due) start_random_visitor(scene);
}

} // namespace gm
