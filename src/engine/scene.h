#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/entity.h"
#include "engine/random.h"
#include "render/cell_grid.h"

namespace gm {

struct MousePosition {
    std::int32_t x = -1;
    std::int32_t y = -1;
    bool operator==(const MousePosition&) const = default;
};

// The whole state of one aquarium. A host owns exactly one; every core
// operation takes it by reference, so two scenes never share anything.
struct Scene {
    std::int32_t cell_width = 8;
    std::int32_t cell_height = 16;
    std::int32_t columns = 80;
    std::int32_t rows = 24;
    std::int32_t next_group_id = 1;
    std::vector<Entity> entities;
    CellGrid grid;
    std::int32_t fish_count = 0;
    Random random;

    // Host state that is plain data; window-system handles stay in the host.
    bool preview = false;
    std::int32_t client_width = 0;
    std::int32_t client_height = 0;
    std::uint32_t start_tick = 0;
    MousePosition mouse_origin;

    std::int32_t fish_target() const;
    std::int32_t take_group_id() { return next_group_id++; }
    // By value: a creator moves its local entity in and the frames are not copied again.
    void append(Entity entity) { entities.push_back(std::move(entity)); }
};

} // namespace gm
