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

// A visitor that is one catalogue picture crossing the screen, coloured by
// its entry's look (population/looks.h).
struct CatalogueVisitor {
    std::string_view key;
    float speed;                // cells per tick
    std::int32_t depth;
    float y;                    // its row, or the highest of a random range
    std::int32_t above_bottom;  // 0, or the range's lowest row counted from the bottom
    float x;                    // where it starts when it enters at the left
    float frame_rate;           // 0 when it is not animated
    bool close_gaps;            // its blank runs inside each row stay opaque
};

void start_random_visitor(Scene& scene);
void add_catalogue_visitor(Scene& scene, const CatalogueVisitor& row);
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
