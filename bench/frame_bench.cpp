// The cost of one frame of the core: the tick, the composition and the
// split into colour runs, apart and together, on lived-in and on crowded
// scenes, and how that cost grows with the grid and with the crowd; and the
// paint plan of a window painter.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string_view>
#include <tuple>
#include <vector>

#include "bench_scenes.h"
#include "engine/collisions.h"
#include "engine/replenish.h"
#include "engine/tick.h"
#include "render/compose.h"
#include "render/paint_plan.h"
#include "render/runs.h"

namespace {

using namespace gm;

constexpr std::int32_t crowd_factor = 10;

ScreenSize size_of(const benchmark::State& state)
{
    return {static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1))};
}

// Google Benchmark calls each function several times while it settles the
// iteration count; the scene is warmed up once and copied for every call.
std::unique_ptr<Scene> scene_for(const benchmark::State& state)
{
    static std::map<std::tuple<std::int64_t, std::int64_t, std::int64_t>, std::unique_ptr<Scene>> warmed;
    auto& scene = warmed[{state.range(0), state.range(1), state.range(2)}];
    if (!scene) {
        const auto crowd = static_cast<std::int32_t>(state.range(2));
        scene = crowd > 1 ? crowded_scene(size_of(state), crowd) : typical_scene(size_of(state));
    }
    return std::make_unique<Scene>(*scene);
}

// Keeps a crowded scene crowded without counting the top-up as frame time.
void keep_crowd(benchmark::State& state, Scene& scene)
{
    const auto crowd = static_cast<std::int32_t>(state.range(2));
    if (crowd <= 1) return;
    state.PauseTiming();
    refill_crowd(scene, crowd);
    state.ResumeTiming();
}

void split_all_rows(const Scene& scene, ColourRuns& runs)
{
    for (std::int32_t r = 0; r < scene.rows; ++r) {
        split_runs(scene.grid, r, runs);
        benchmark::DoNotOptimize(runs.characters().data());
    }
}

// Time per frame as a share of one core when the aquarium runs at 10 frames a second.
void report(benchmark::State& state, const Scene& scene)
{
    using C = benchmark::Counter;
    state.counters["core_share_10fps"] =
        C(static_cast<double>(state.iterations()) / 10.0, C::Flags(C::kIsRate | C::kInvert));
    state.counters["entities"] = static_cast<double>(scene.entities.size());
    state.counters["fish"] = scene.fish_count;
}

void sizes_and_crowds(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"cols", "rows", "crowd"});
    for (const ScreenSize size : screen_sizes)
        for (const std::int32_t crowd : {1, crowd_factor}) b->Args({size.columns, size.rows, crowd});
    b->Unit(benchmark::kMicrosecond);
}

void BM_Tick(benchmark::State& state)
{
    auto scene = scene_for(state);
    for (auto _ : state) {
        tick(*scene);
        keep_crowd(state, *scene);
    }
    report(state, *scene);
}
BENCHMARK(BM_Tick)->Apply(sizes_and_crowds);

void BM_Compose(benchmark::State& state)
{
    auto scene = scene_for(state);
    for (auto _ : state) {
        compose(*scene);
        benchmark::DoNotOptimize(scene->grid.cells.data());
    }
    report(state, *scene);
}
BENCHMARK(BM_Compose)->Apply(sizes_and_crowds);

void BM_SplitRuns(benchmark::State& state)
{
    auto scene = scene_for(state);
    compose(*scene);
    ColourRuns runs;
    for (auto _ : state) split_all_rows(*scene, runs);
    report(state, *scene);
}
BENCHMARK(BM_SplitRuns)->Apply(sizes_and_crowds);

// What a window painter plans each frame: the spans that changed since the
// frame before and their runs. Consecutive frames are composed beforehand
// and planned in turn, so only the plan is timed.
void BM_PaintPlan(benchmark::State& state)
{
    auto scene = scene_for(state);
    std::vector<CellGrid> frames;
    for (int i = 0; i < 32; ++i) {
        tick(*scene);
        compose(*scene);
        frames.push_back(scene->grid);
    }
    PaintPlan plan;
    std::size_t next = 1;
    double spans = 0, runs = 0;
    for (auto _ : state) {
        plan.make(frames[next - 1], frames[next]);
        spans += static_cast<double>(plan.spans().size());
        runs += static_cast<double>(plan.runs().size());
        next = next + 1 < frames.size() ? next + 1 : 1;
    }
    report(state, *scene);
    state.counters["spans"] = spans / static_cast<double>(state.iterations());
    state.counters["runs"] = runs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PaintPlan)->Apply(sizes_and_crowds);

void BM_Frame(benchmark::State& state)
{
    auto scene = scene_for(state);
    ColourRuns runs;
    for (auto _ : state) {
        tick(*scene);
        compose(*scene);
        split_all_rows(*scene, runs);
        keep_crowd(state, *scene);
    }
    report(state, *scene);
}
BENCHMARK(BM_Frame)->Apply(sizes_and_crowds);

// Whole frames over grids from a terminal to far beyond any screen; the time
// per cell should stay about flat.
void grid_ladder(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"cols", "rows", "crowd"});
    for (const ScreenSize size : {ScreenSize{80, 24}, ScreenSize{160, 48}, ScreenSize{240, 80}, ScreenSize{349, 98},
                                  ScreenSize{500, 150}, ScreenSize{700, 200}, ScreenSize{1000, 300}})
        b->Args({size.columns, size.rows, 1});
    b->Unit(benchmark::kMicrosecond);
}

void BM_FrameByGrid(benchmark::State& state)
{
    auto scene = scene_for(state);
    const double cells = static_cast<double>(scene->columns) * scene->rows;
    const auto area = static_cast<double>(drawn_area(*scene));
    ColourRuns runs;
    for (auto _ : state) {
        tick(*scene);
        compose(*scene);
        split_all_rows(*scene, runs);
    }
    using C = benchmark::Counter;
    report(state, *scene);
    state.counters["cells"] = cells;
    state.counters["drawn_area"] = area;
    state.counters["s_per_cell"] = C(static_cast<double>(state.iterations()) * cells, C::Flags(C::kIsRate | C::kInvert));
    state.counters["s_per_cell_drawn"] =
        C(static_cast<double>(state.iterations()) * (cells + area), C::Flags(C::kIsRate | C::kInvert));
}
BENCHMARK(BM_FrameByGrid)->Apply(grid_ladder);

// The tick of tick() step by step, timing the collision steps apart: how much
// of a tick goes into testing every free fish against every entity as the
// crowd grows. The iteration time is that of the whole tick.
void BM_CollisionShare(benchmark::State& state)
{
    using clock = std::chrono::steady_clock;
    auto scene = scene_for(state);
    Scene& s = *scene;
    double bubbles_seconds = 0, eating_seconds = 0, tick_seconds = 0;
    for (auto _ : state) {
        TickState st;
        const auto t0 = clock::now();
        advance_entities(s, st);
        release_dolphins(s, st);
        end_departed_groups(s, st);
        const auto t1 = clock::now();
        pop_bubbles(s);
        const auto t2 = clock::now();
        eat_and_hook(s, st);
        const auto t3 = clock::now();
        add_splats(s, st);
        remove_dead(s);
        replace_seaweed(s, st);
        blow_bubbles(s, st);
        top_up_fish(s);
        next_visitor(s, st);
        const auto t4 = clock::now();
        const double whole = std::chrono::duration<double>(t4 - t0).count();
        bubbles_seconds += std::chrono::duration<double>(t2 - t1).count();
        eating_seconds += std::chrono::duration<double>(t3 - t2).count();
        tick_seconds += whole;
        state.SetIterationTime(whole);
        keep_crowd(state, s);
    }
    report(state, s);
    state.counters["bubble_pop_share"] = bubbles_seconds / tick_seconds;
    state.counters["eat_hook_share"] = eating_seconds / tick_seconds;
    state.counters["collision_share"] = (bubbles_seconds + eating_seconds) / tick_seconds;
}
BENCHMARK(BM_CollisionShare)
    ->ArgNames({"cols", "rows", "crowd"})
    ->Args({80, 24, 1})
    ->Args({80, 24, 10})
    ->Args({349, 98, 1})
    ->Args({349, 98, 2})
    ->Args({349, 98, 5})
    ->Args({349, 98, 10})
    ->Args({349, 98, 20})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

// "--short-warm-up" (given before the benchmark options) makes every scene
// run only briefly before it is measured: for CI, which only checks that
// each benchmark runs.
int main(int argc, char** argv)
{
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--short-warm-up") set_short_warm_up(true);
        else args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
