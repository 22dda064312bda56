#include "bench_scenes.h"

#include <algorithm>

#include "engine/tick.h"
#include "population/population.h"

namespace gm {

namespace {

constexpr std::uint32_t bench_seed = 20240601;
bool short_warm_up_only = false;

int warm_up_ticks(ScreenSize size)
{
    if (short_warm_up_only) return 50;
    // The slowest fish swims a quarter of a column a tick.
    return std::max(1500, 4 * size.columns);
}

bool visitor_on_screen(const Scene& scene)
{
    for (const Entity& e : scene.entities)
        if (e.spawns_visitor && e.x < static_cast<float>(scene.columns) && e.x + static_cast<float>(e.current_width()) > 0 &&
            e.y < static_cast<float>(scene.rows) && e.y + static_cast<float>(e.current_height()) > 0)
            return true;
    return false;
}

std::int64_t bubble_count(const Scene& scene)
{
    std::int64_t count = 0;
    for (const Entity& e : scene.entities) count += e.is("bubble") ? 1 : 0;
    return count;
}

} // namespace

void set_short_warm_up(bool short_warm_up) { short_warm_up_only = short_warm_up; }

std::unique_ptr<Scene> typical_scene(ScreenSize size)
{
    auto scene = std::make_unique<Scene>();
    start_scene(*scene, size.columns, size.rows, bench_seed);
    // Long enough for the first fish to have been replaced and bubbles to
    // have reached their usual number; then wait for a visitor in view.
    for (int i = warm_up_ticks(size); i > 0; --i) tick(*scene);
    const std::int64_t want_bubbles = scene->fish_target() > 0 ? 1 : 0;
    for (int i = 0; i < 20000; ++i) {
        if (visitor_on_screen(*scene) && scene->fish_count == scene->fish_target() && bubble_count(*scene) >= want_bubbles)
            break;
        tick(*scene);
    }
    return scene;
}

void refill_crowd(Scene& scene, std::int32_t crowd)
{
    const std::int64_t want = static_cast<std::int64_t>(scene.fish_target()) * crowd;
    while (scene.fish_count < want) add_fish(scene);
}

std::unique_ptr<Scene> crowded_scene(ScreenSize size, std::int32_t crowd)
{
    auto scene = typical_scene(size);
    // Let the crowd's bubbles build up to their steady number too.
    for (int i = short_warm_up_only ? 10 : 300; i > 0; --i) {
        refill_crowd(*scene, crowd);
        tick(*scene);
    }
    refill_crowd(*scene, crowd);
    return scene;
}

std::int64_t drawn_area(const Scene& scene)
{
    std::int64_t area = 0;
    for (const Entity& e : scene.entities) {
        if (!e.alive || e.hidden || !e.current_frame()) continue;
        const std::int64_t h = e.current_height();
        area += e.is("water") ? h * scene.columns : h * e.current_width();
    }
    return area;
}

} // namespace gm
