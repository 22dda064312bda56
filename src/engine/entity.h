#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sprites/sprite_frame.h"

namespace gm {

struct PathStep {
    float dx = 0;
    float dy = 0;
};

// A plain value: its kind is its name, and the tick chooses its behaviour by
// that name and by its flags.
struct Entity {
    bool alive = false;
    std::string name;
    float x = 0;
    float y = 0;
    float vx = 0;
    float vy = 0;
    std::int32_t depth = 10;
    std::vector<SpriteFrame> frames;
    std::int32_t frame_index = 0;
    std::int32_t frame_ticks = 0;
    std::int32_t frame_period = 0;
    float frame_clock = 0;
    float frame_interval = 0;
    std::vector<std::int32_t> frame_sequence;
    std::int32_t sequence_pos = 0;
    bool die_offscreen = false;
    std::int32_t lifetime = -1;
    bool spawns_visitor = false;
    bool counts_as_fish = false;
    bool hidden = false;
    bool hooked = false;
    bool group_leader = false;
    std::int32_t group_id = 0;
    bool follows_path = false;
    std::vector<PathStep> path;
    std::int32_t path_delay = 0;
    std::int32_t path_pos = 0;
    float path_clock = 0;
    float path_interval = 1.0f;
    bool pauses_mid_screen = false;
    std::int32_t pause_ticks = 0;

    bool is(std::string_view kind) const { return name == kind; }

    // The frame shown, or nullptr when there is none to show (no frames, or an
    // index that has strayed out of range).
    const SpriteFrame* current_frame() const
    {
        if (frame_index < 0 || static_cast<std::size_t>(frame_index) >= frames.size()) return nullptr;
        return &frames[static_cast<std::size_t>(frame_index)];
    }
    std::int32_t current_width() const { return current_frame() ? current_frame()->width : 0; }
    std::int32_t current_height() const { return current_frame() ? current_frame()->height : 0; }
};

} // namespace gm
