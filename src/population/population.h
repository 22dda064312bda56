#pragma once
#include <cstdint>
#include <string_view>

#include "engine/scene.h"
#include "sprites/colour.h"

namespace gm {

// Every creator appends its entities at the end of scene.entities, drawing
// its random numbers from scene.random in the order its comments give.

void add_water_lines(Scene& scene);
void add_castle(Scene& scene);
void add_seaweed(Scene& scene, std::int32_t column);

void add_fish(Scene& scene);
void add_bubble(Scene& scene, float x, float y);
void add_splat(Scene& scene, float x, float y, std::int32_t depth_arg);

void start_random_visitor(Scene& scene);
void add_catalogue_visitor(Scene& scene, std::string_view key, Colour colour, float speed, std::int32_t depth,
                           float y, float x, bool randomize, float frame_rate, bool spawns,
                           std::string_view entity_name, bool close_gaps, bool gaps_include_marks);
void add_big_fish(Scene& scene);
void add_shark(Scene& scene);
void add_fishhook(Scene& scene);
void add_dolphins(Scene& scene);
void add_submarine(Scene& scene);
void add_whale(Scene& scene);

// Sizes the grid and builds the first population, in this order: water,
// castle, columns / 15 seaweeds, the fish target's fish, the first visitor.
void start_scene(Scene& scene, std::int32_t columns, std::int32_t rows, std::uint32_t seed);

} // namespace gm
