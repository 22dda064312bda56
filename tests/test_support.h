#pragma once
#include <string>
#include <string_view>

#include "engine/entity.h"
#include "engine/scene.h"

namespace gm::testing {

inline Entity make_entity(std::string_view name, std::string_view picture, float x, float y, std::int32_t depth = 10)
{
    Entity e;
    e.alive = true;
    e.name = std::string(name);
    e.x = x;
    e.y = y;
    e.depth = depth;
    if (!picture.empty()) e.frames.emplace_back(picture, 0xFFFFFF, false);
    return e;
}

inline Scene make_scene(std::int32_t columns, std::int32_t rows)
{
    Scene scene;
    scene.columns = columns;
    scene.rows = rows;
    scene.grid.reset(columns, rows);
    return scene;
}

inline std::string row_text(const CellGrid& grid, std::int32_t row)
{
    std::string text;
    for (std::int32_t c = 0; c < grid.columns; ++c) {
        const char ch = grid.at(c, row).character;
        text.push_back(ch == '\0' ? '#' : ch); // '#' marks an opaque blank
    }
    return text;
}

} // namespace gm::testing
