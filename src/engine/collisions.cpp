#include "engine/collisions.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gm {

namespace {

// Rounded down, not toward zero, and clamped so that a wild position cannot
// overflow the int conversion.
std::int32_t cell_of(float position)
{
    const float down = std::floor(position);
    if (!(down > -1e9f)) return -1000000000;
    if (down > 1e9f) return 1000000000;
    return static_cast<std::int32_t>(down);
}

} // namespace

bool collides(const Entity& a, const Entity& b)
{
    const SpriteFrame* fa = a.current_frame();
    const SpriteFrame* fb = b.current_frame();
    if (!fa || !fb) return false;

    const std::int32_t ax = cell_of(a.x), ay = cell_of(a.y);
    const std::int32_t bx = cell_of(b.x), by = cell_of(b.y);
    const std::int32_t left = std::max(ax, bx);
    const std::int32_t right = std::min(ax + fa->width, bx + fb->width);
    const std::int32_t top = std::max(ay, by);
    const std::int32_t bottom = std::min(ay + fa->height, by + fb->height);
    if (left >= right || top >= bottom) return false;

    for (std::int32_t row = top; row < bottom; ++row)
        for (std::int32_t column = left; column < right; ++column)
            if (!fa->is_transparent(column - ax, row - ay) && !fb->is_transparent(column - bx, row - by))
                return true;
    return false;
}

void pop_bubbles(Scene& scene)
{
    float surface = -1.0f;
    for (const Entity& e : scene.entities)
        if (e.alive && e.is("water") && e.y > surface) surface = e.y;

    // Popping kills only bubbles, so the water lines found first stay the
    // ones to test, and each bubble meets only those few.
    std::vector<const Entity*> waters;
    for (const Entity& e : scene.entities)
        if (e.alive && e.is("water")) waters.push_back(&e);

    for (Entity& bubble : scene.entities) {
        if (!bubble.alive || !bubble.is("bubble")) continue;
        if (surface >= 0 && bubble.y <= surface) {
            bubble.alive = false;
            continue;
        }
        for (const Entity* water : waters) {
            if (collides(bubble, *water)) {
                bubble.alive = false;
                break;
            }
        }
    }
}

namespace {

void hook(Scene& scene, Entity& fish, std::int32_t group)
{
    fish.hooked = true;
    fish.vx = 0;
    fish.vy = -1.0f;
    fish.depth = 5;
    for (Entity& part : scene.entities) {
        if (part.group_id != group) continue;
        if (!part.is("fishhook") && !part.is("fishline") && !part.is("hook_point")) continue;
        part.hooked = true;
        part.vx = 0;
        part.vy = -1.0f;
    }
}

} // namespace

void eat_and_hook(Scene& scene, TickState& state)
{
    // Only teeth and hook points can stop a fish, and this step kills no
    // entity of either kind, so they are gathered once, in list order; a
    // hook point's "hooked" is still read at the moment it is met.
    std::vector<Entity*> catchers;
    for (Entity& e : scene.entities)
        if (e.alive && (e.is("teeth") || e.is("hook_point"))) catchers.push_back(&e);
    if (catchers.empty()) return;

    for (Entity& fish : scene.entities) {
        if (!fish.alive || !fish.is("fish") || fish.hooked) continue;
        for (Entity* catcher : catchers) {
            Entity& e = *catcher;
            if (e.is("teeth") && collides(fish, e)) {
                state.splats.push_back({e.x, e.y});
                fish.alive = false;
                --scene.fish_count;
                break;
            }
            if (e.is("hook_point") && !e.hooked && collides(fish, e)) {
                hook(scene, fish, e.group_id);
                break;
            }
        }
    }
}

} // namespace gm
