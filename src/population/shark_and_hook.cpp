#include <algorithm>
#include <string>
#include <utility>

#include "population/looks.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"
#include "sprites/small_art.h"

namespace gm {

void add_shark(Scene& scene)
{
    const CatalogueEntry* entry = find_entry("shark");
    if (!entry || entry->variants.size() < 2) return;

    const int direction = scene.random.next() % 2;
    const int r = scene.random.next();
    const std::int32_t m = std::max(scene.rows - 19, 10);
    const auto shark_y = static_cast<float>(r % (m - 9) + 9);
    const float shark_x = direction == 0 ? -53.0f : static_cast<float>(scene.columns - 2);
    const float shark_vx = direction == 0 ? 2.0f : -2.0f;
    const std::int32_t group = scene.take_group_id();

    // The teeth ride inside the open mouth; fish that touch them are eaten.
    Entity teeth;
    teeth.alive = true;
    teeth.name = "teeth";
    teeth.x = direction == 0 ? -9.0f : shark_x + 9.0f;
    teeth.y = shark_y + 7.0f;
    teeth.vx = shark_vx;
    teeth.vy = 0;
    teeth.depth = 1;
    teeth.frames.emplace_back("*", colours::bright_red, false);
    teeth.hidden = true;
    teeth.die_offscreen = false;
    teeth.spawns_visitor = false;
    teeth.group_id = group;
    scene.append(std::move(teeth));

    Entity shark;
    shark.alive = true;
    shark.name = "shark";
    shark.x = shark_x;
    shark.y = shark_y;
    shark.vx = shark_vx;
    shark.vy = 0;
    shark.depth = 2;
    shark.frames.push_back(build_frame(entry->variants[static_cast<std::size_t>(direction)],
                                       look_of("shark").colour, false, false, scene.random));
    shark.die_offscreen = true;
    shark.spawns_visitor = true;
    shark.group_id = group;
    scene.append(std::move(shark));
}

namespace {

Entity hook_part(std::string_view name, float x, float y, std::int32_t depth, SpriteFrame frame, std::int32_t group)
{
    Entity part;
    part.alive = true;
    part.name = std::string(name);
    part.x = x;
    part.y = y;
    part.vx = 0;
    part.vy = 1.0f;
    part.depth = depth;
    part.frames.push_back(std::move(frame));
    part.group_id = group;
    return part;
}

std::string fishline_picture()
{
    std::string text;
    for (int i = 0; i < 50; ++i) text += "|\n";
    // The blank tail keeps the last bar one row above the hook's eye.
    for (int i = 0; i < 6; ++i) text += " \n";
    return text;
}

} // namespace

void add_fishhook(Scene& scene)
{
    const std::int32_t hc = scene.random.next() % std::max(scene.columns - 20, 1) + 10;
    const std::int32_t group = scene.take_group_id();
    const auto column = static_cast<float>(hc);

    Entity line = hook_part("fishline", column + 7, -54.0f, 6, SpriteFrame(fishline_picture(), colours::bright_green, false),
                            group);
    line.hidden = false;
    line.die_offscreen = false;
    line.spawns_visitor = false;
    scene.append(std::move(line));

    SpriteFrame hook_frame(fishhook_picture(), colours::bright_green, false);
    hook_frame.close_row_gaps(0, true);
    Entity hook = hook_part("fishhook", column, -4.0f, 6, std::move(hook_frame), group);
    hook.hidden = false;
    hook.die_offscreen = true;
    hook.spawns_visitor = true;
    scene.append(std::move(hook));

    // Never drawn: its "." and backslash are the cells that catch a fish.
    Entity point = hook_part("hook_point", column + 1, -2.0f, 1, SpriteFrame(".\n\n\\\n?\n", colours::bright_green, false),
                             group);
    point.hidden = true;
    point.die_offscreen = true;
    point.spawns_visitor = false;
    scene.append(std::move(point));
}

} // namespace gm
