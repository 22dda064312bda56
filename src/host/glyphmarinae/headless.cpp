#include "host/glyphmarinae/headless.h"

#include <charconv>

#include "engine/tick.h"
#include "record/json_text.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/text_render.h"

namespace gm {

namespace {

// The shortest text that reads back as exactly the same float.
std::string float_text(float value)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "0";
}

} // namespace

void run_headless(Scene& scene, const Options& options, std::uint32_t seed)
{
    start_scene(scene, options.columns, options.rows, seed);
    for (std::int64_t i = 0; i < options.ticks; ++i) tick(scene);
    compose(scene);
}

std::string dump_text(const Scene& scene, bool colour)
{
    return colour ? grid_to_ansi(scene.grid) : grid_to_text(scene.grid);
}

std::string entities_json(const Scene& scene)
{
    std::string out;
    auto flag = [](bool value) { return value ? "true" : "false"; };
    for (const Entity& e : scene.entities) {
        if (!e.alive) continue;
        out += "{\"name\":" + json_string(e.name);
        out += ",\"x\":" + float_text(e.x) + ",\"y\":" + float_text(e.y);
        out += ",\"vx\":" + float_text(e.vx) + ",\"vy\":" + float_text(e.vy);
        out += ",\"depth\":" + std::to_string(e.depth);
        out += ",\"frame_index\":" + std::to_string(e.frame_index);
        out += ",\"frame_count\":" + std::to_string(e.frames.size());
        out += ",\"width\":" + std::to_string(e.current_width());
        out += ",\"height\":" + std::to_string(e.current_height());
        out += ",\"lifetime\":" + std::to_string(e.lifetime);
        out += ",\"group_id\":" + std::to_string(e.group_id);
        out += std::string(",\"die_offscreen\":") + flag(e.die_offscreen);
        out += std::string(",\"spawns_visitor\":") + flag(e.spawns_visitor);
        out += std::string(",\"counts_as_fish\":") + flag(e.counts_as_fish);
        out += std::string(",\"hidden\":") + flag(e.hidden);
        out += std::string(",\"hooked\":") + flag(e.hooked);
        out += std::string(",\"group_leader\":") + flag(e.group_leader);
        out += std::string(",\"follows_path\":") + flag(e.follows_path);
        out += std::string(",\"pauses_mid_screen\":") + flag(e.pauses_mid_screen);
        out += "}\n";
    }
    return out;
}

} // namespace gm
