// A scene of any size from 0x0 to 400x200 and any seed, driven by fuzzed
// steps: ticks, every creator with any arguments, composition and the split
// into colour runs. After every step the record-level rules must hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/tick.h"
#include "fuzz_check.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/runs.h"
#include "render/text_render.h"
#include "scene_invariants.h"

namespace {

using namespace gm;

// Enough for every rule to come into play, few enough to stay fast. The
// budget counts a tick as entities x movers, well above what the tick does
// (a mover is tested only against the water lines, teeth and hook points),
// so that the checks after each tick stay cheap and large scenes get fewer ticks.
constexpr int max_steps = 64;
constexpr int max_ticks_per_input = 400;
constexpr std::int64_t tick_work_per_input = 200000;
constexpr int max_compositions = 4;

std::int64_t tick_work(const Scene& scene)
{
    std::int64_t movers = 1;
    for (const Entity& e : scene.entities) movers += e.is("fish") || e.is("bubble") ? 1 : 0;
    return static_cast<std::int64_t>(scene.entities.size()) * movers;
}

float any_position(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeFloatingPointInRange(-1e30f, 1e30f) : in.ConsumeFloatingPointInRange(-60.0f, 460.0f);
}

// Every name with a rule of its own, except "fish": only the fish creator may
// make fish, since only its fish are counted.
std::string any_name(FuzzedDataProvider& in)
{
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        std::string name = in.ConsumeRandomLengthString(12);
        return name == "fish" ? "creature" : name;
    }
    return in.PickValueInArray({"creature", "water", "castle", "seaweed", "bubble", "shark", "teeth", "fishhook",
                                "fishline", "hook_point", "dolphin", "splat"});
}

void add_any_visitor(Scene& scene, FuzzedDataProvider& in)
{
    const std::string key = in.ConsumeBool() ? std::string(in.PickValueInArray(
                                                   {"big_fish_1", "big_fish_2", "castle", "dolphin", "duck", "new_fish",
                                                    "new_monster", "old_fish", "shark", "ship", "submarine", "swan",
                                                    "sword_fish", "whale"}))
                                             : in.ConsumeRandomLengthString(12);
    CatalogueVisitor row{key, 0, 0, 0, 0, 0, 0, false};
    row.speed = in.ConsumeFloatingPointInRange(-8.0f, 8.0f);
    row.depth = in.ConsumeIntegralInRange<std::int32_t>(-5, 30);
    row.y = any_position(in);
    row.above_bottom = in.ConsumeIntegralInRange<std::int32_t>(0, 40);
    row.x = any_position(in);
    row.frame_rate = in.ConsumeFloatingPointInRange(-1.0f, 4.0f);
    row.close_gaps = in.ConsumeBool();
    const std::size_t before = scene.entities.size();
    add_catalogue_visitor(scene, row);
    // Any rule's name and either spawning flag, on a catalogue picture.
    const std::string name = any_name(in);
    const bool spawns = in.ConsumeBool();
    if (scene.entities.size() > before) {
        scene.entities.back().name = name;
        scene.entities.back().spawns_visitor = spawns;
    }
}

// untouched: only start_scene and tick() have changed the scene, so it must
// also have exactly one visitor on its way and no more fish than the target.
void check(const Scene& scene, bool untouched)
{
    const EntityCensus census = take_census(scene);
    const std::string broken = check_records(scene, census);
    if (!broken.empty()) std::fprintf(stderr, "%s\n", broken.c_str());
    FUZZ_REQUIRE(broken.empty());
    if (!untouched) return;
    FUZZ_REQUIRE(census.spawners == 1);
    FUZZ_REQUIRE(census.fish <= scene.fish_target());
}

void compose_and_split(Scene& scene)
{
    compose(scene);
    FUZZ_REQUIRE(scene.grid.columns == scene.columns && scene.grid.rows == scene.rows);
    ColourRuns runs;
    for (std::int32_t r = 0; r < scene.rows; ++r) {
        split_runs(scene.grid, r, runs);
        std::int32_t next_free = 0;
        for (const ColourRun& run : runs) {
            FUZZ_REQUIRE(run.column >= next_free && !run.text.empty());
            next_free = run.column + static_cast<std::int32_t>(run.text.size());
            FUZZ_REQUIRE(next_free <= scene.columns);
        }
    }
    const std::string text = grid_to_text(scene.grid);
    FUZZ_REQUIRE(text.size() == static_cast<std::size_t>(scene.rows) * (static_cast<std::size_t>(scene.columns) + 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    // Each input owns its scene, so that what one input leaves allocated
    // does not look like a leak of the next.
    auto owned = std::make_unique<Scene>();
    Scene& scene = *owned;
    const auto columns = in.ConsumeIntegralInRange<std::int32_t>(0, 400);
    const auto rows = in.ConsumeIntegralInRange<std::int32_t>(0, 200);
    start_scene(scene, columns, rows, in.ConsumeIntegral<std::uint32_t>());
    bool untouched = true;
    check(scene, untouched);

    int ticks_left = max_ticks_per_input, compositions_left = max_compositions;
    std::int64_t work_left = tick_work_per_input;
    for (int step = 0; step < max_steps && in.remaining_bytes() > 0; ++step) {
        const int action = in.ConsumeIntegralInRange(0, 15);
        if (action <= 11) untouched = false;
        switch (action) {
        case 0: add_fish(scene); break;
        case 1: add_bubble(scene, any_position(in), any_position(in)); break;
        case 2: add_splat(scene, any_position(in), any_position(in), in.ConsumeIntegralInRange(-10, 30)); break;
        case 3: add_seaweed(scene, in.ConsumeIntegral<std::int32_t>()); break;
        case 4: start_random_visitor(scene); break;
        case 5: add_shark(scene); break;
        case 6: add_fishhook(scene); break;
        case 7: add_dolphins(scene); break;
        case 8: add_submarine(scene); break;
        case 9: add_whale(scene); break;
        case 10: add_big_fish(scene); break;
        case 11: add_any_visitor(scene, in); break;
        case 12:
            if (compositions_left-- > 0) compose_and_split(scene);
            break;
        default: {
            const int ticks = std::min(in.ConsumeIntegralInRange(1, 120), ticks_left);
            ticks_left -= ticks;
            for (int t = 0; t < ticks && work_left > 0; ++t) {
                work_left -= tick_work(scene);
                tick(scene);
                check(scene, untouched);
            }
            break;
        }
        }
    }
    if (compositions_left > 0) compose_and_split(scene);
    return 0;
}
