#include "engine/tick.h"

#include <algorithm>
#include <iterator>

#include "engine/collisions.h"
#include "engine/replenish.h"

namespace gm {

namespace {

constexpr int pause_hold_count = static_cast<int>(std::size(pause_hold_ticks));

// A pausing entity with more frames than the hold table holds each extra
// frame as long as the last entry says, instead of reading past the table.
int hold_for(std::int32_t frame_index)
{
    if (frame_index < 0) return pause_hold_ticks[0];
    return pause_hold_ticks[std::min(static_cast<int>(frame_index), pause_hold_count - 1)];
}

void step_frame(Entity& e)
{
    const auto frame_count = static_cast<std::int32_t>(e.frames.size());
    if (e.frame_sequence.empty()) {
        e.frame_index = (e.frame_index + 1) % frame_count;
        if (e.frame_index < 0) e.frame_index = 0;
        return;
    }
    const auto length = static_cast<std::int32_t>(e.frame_sequence.size());
    e.sequence_pos = (e.sequence_pos + 1) % length;
    if (e.sequence_pos < 0) e.sequence_pos = 0;
    const std::int32_t next = e.frame_sequence[static_cast<std::size_t>(e.sequence_pos)];
    // A sequence value outside the frames is ignored rather than shown.
    if (next >= 0 && next < frame_count) e.frame_index = next;
}

void animate(Entity& e)
{
    if (e.frames.size() < 2) return;
    if (e.frame_interval > 0) {
        e.frame_clock += 1.0f;
        if (e.frame_clock >= e.frame_interval) {
            e.frame_clock -= e.frame_interval;
            step_frame(e);
        }
    } else if (e.frame_period > 0) {
        if (++e.frame_ticks >= e.frame_period) {
            e.frame_ticks = 0;
            step_frame(e);
        }
    }
}

bool is_hook_part(const Entity& e) { return e.is("fishhook") || e.is("fishline") || e.is("hook_point"); }

void follow_path(Entity& e)
{
    e.path_clock += 1.0f;
    if (e.path_clock < e.path_interval) return;
    e.path_clock -= e.path_interval;
    if (e.path_delay > 0) {
        --e.path_delay;
        return;
    }
    if (e.path.empty()) return;
    if (e.path_pos < 0 || static_cast<std::size_t>(e.path_pos) >= e.path.size()) e.path_pos = 0;
    const PathStep& step = e.path[static_cast<std::size_t>(e.path_pos)];
    e.x += step.dx;
    e.y += step.dy;
    e.path_pos = static_cast<std::int32_t>((static_cast<std::size_t>(e.path_pos) + 1) % e.path.size());
}

void pause_mid_screen(Entity& e, float pause_at)
{
    const bool reaches = (e.x < pause_at && e.x + e.vx > pause_at) || (e.x > pause_at && e.x + e.vx < pause_at) ||
                         e.x == pause_at;
    const auto frame_count = static_cast<std::int32_t>(e.frames.size());
    if (reaches && e.frame_index < frame_count - 1) {
        e.x = pause_at;
        if (e.pause_ticks < hold_for(e.frame_index)) {
            ++e.pause_ticks;
        } else {
            ++e.frame_index;
            e.pause_ticks = 0;
        }
    } else {
        e.x += e.vx;
    }
}

void move(Entity& e, const Scene& scene)
{
    const auto height = static_cast<float>(e.current_height());
    if (e.is("water") || e.is("castle") || e.is("seaweed")) return;
    if (e.hooked) {
        e.y -= 1.0f;
    } else if (is_hook_part(e)) {
        if (descent_limit(scene) > height + e.y) e.y += 1.0f;
    } else if (e.follows_path) {
        follow_path(e);
    } else if (e.pauses_mid_screen) {
        pause_mid_screen(e, pause_column(scene));
    } else {
        if (e.lifetime > 0 && e.vy > 0 && height + e.y >= descent_limit(scene)) e.vy = 0;
        e.x += e.vx;
        e.y += e.vy;
    }
}

bool has_left_grid(const Entity& e, const Scene& scene)
{
    const auto width = static_cast<float>(e.current_width());
    const auto height = static_cast<float>(e.current_height());
    return width + e.x < 0 || e.x > static_cast<float>(scene.columns) || height + e.y < 0 ||
           e.y > static_cast<float>(scene.rows);
}

void die(Entity& e, Scene& scene)
{
    e.alive = false;
    if (e.counts_as_fish) --scene.fish_count;
}

} // namespace

float pause_column(const Scene& scene) { return static_cast<float>(scene.columns) * 0.5f - 20.0f; }

float descent_limit(const Scene& scene) { return static_cast<float>(scene.rows) * 0.75f; }

void advance_entities(Scene& scene, TickState& state)
{
    for (Entity& e : scene.entities) {
        if (!e.alive) continue;
        animate(e);

        if (e.lifetime > 0 && --e.lifetime == 0) {
            die(e, scene);
            if (e.is("seaweed")) ++state.seaweed_lost;
            if (e.spawns_visitor) state.visitor_due = true;
            continue;
        }

        move(e, scene);

        if (e.die_offscreen && has_left_grid(e, scene)) {
            die(e, scene);
            if (e.group_id != 0 && (e.is("shark") || e.is("fishhook"))) state.departed_groups.push_back(e.group_id);
            if (e.group_leader && e.group_id != 0) state.released_groups.push_back(e.group_id);
            if (e.spawns_visitor) state.visitor_due = true;
        }
    }
}

void release_dolphins(Scene& scene, const TickState& state)
{
    for (std::int32_t id : state.released_groups)
        for (Entity& e : scene.entities)
            if (e.alive && e.group_id == id && e.is("dolphin")) e.die_offscreen = true;
}

void end_departed_groups(Scene& scene, const TickState& state)
{
    for (std::int32_t id : state.departed_groups)
        for (Entity& e : scene.entities)
            if (e.alive && e.group_id == id && (e.is("teeth") || e.is("hook_point") || e.is("fishline")))
                e.alive = false;
}

void remove_dead(Scene& scene)
{
    std::erase_if(scene.entities, [](const Entity& e) { return !e.alive; });
}

TickState tick(Scene& scene)
{
    TickState state;
    advance_entities(scene, state);
    release_dolphins(scene, state);
    end_departed_groups(scene, state);
    pop_bubbles(scene);
    eat_and_hook(scene, state);
    add_splats(scene, state);
    remove_dead(scene);
    replace_seaweed(scene, state);
    blow_bubbles(scene, state);
    top_up_fish(scene);
    next_visitor(scene, state);
    return state;
}

} // namespace gm
