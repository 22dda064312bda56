#include "population/population.h"

namespace gm {

void start_scene(Scene& scene, std::int32_t columns, std::int32_t rows, std::uint32_t seed)
{
    scene.columns = columns > 0 ? columns : 0;
    scene.rows = rows > 0 ? rows : 0;
    scene.grid.reset(scene.columns, scene.rows);
    scene.entities.clear();
    scene.fish_count = 0;
    scene.next_group_id = 1;
    scene.random.seed(seed);

    add_water_lines(scene);
    add_castle(scene);
    // columns - 2 of 1 or 2 columns would divide by zero or less; such grids
    // have no seaweed anyway (columns / 15 is 0).
    const std::int32_t seaweeds = scene.columns / 15;
    for (std::int32_t i = 0; i < seaweeds; ++i) {
        const int r = scene.random.next();
        add_seaweed(scene, r % (scene.columns - 2) + 1);
    }
    const std::int32_t fish = scene.fish_target();
    for (std::int32_t i = 0; i < fish; ++i) add_fish(scene);
    start_random_visitor(scene);
}

} // namespace gm
