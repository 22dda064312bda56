// Runs the aquarium for a simulated day at the screen sizes that matter and
// checks the scene after every tick; the first broken rule ends the run with
// status 1 and says where it broke.
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/tick.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/runs.h"
#include "sprites/catalogue.h"
#include "scene_invariants.h"

namespace {

struct Size {
    std::int32_t columns;
    std::int32_t rows;
};

struct Settings {
    std::int64_t ticks = 864000; // a day of 100 ms ticks
    std::uint32_t seed = 1;
    std::int64_t compose_every = 1;
    std::vector<Size> sizes;
};

std::int64_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

std::int64_t peak_rss_kib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool parse_size(std::string_view text, Size& size)
{
    return std::sscanf(std::string(text).c_str(), "%dx%d", &size.columns, &size.rows) == 2 && size.columns > 0 &&
           size.rows > 0;
}

bool parse_args(int argc, char** argv, Settings& settings)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return false;
        ++i;
        if (arg == "--ticks") {
            settings.ticks = std::atoll(value);
        } else if (arg == "--seed") {
            settings.seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
        } else if (arg == "--compose-every") {
            settings.compose_every = std::atoll(value);
        } else if (arg == "--size") {
            Size size{};
            if (!parse_size(value, size)) return false;
            settings.sizes.push_back(size);
        } else {
            return false;
        }
    }
    if (settings.sizes.empty()) settings.sizes = {{80, 24}, {240, 80}, {349, 98}};
    return settings.ticks >= 0;
}

// Runs one size; returns false after printing the first broken rule.
bool soak(const Settings& settings, Size size)
{
    using namespace gm;
    const auto started = std::chrono::steady_clock::now();
    const std::int64_t heap_before = heap_in_use();
    auto scene = std::make_unique<Scene>();
    start_scene(*scene, size.columns, size.rows, settings.seed);
    const std::int64_t seaweed_planted = size.columns / 15;
    const EntityBound bound = entity_bound(size.columns, size.rows);

    EntityCensus peak;
    std::int64_t peak_heap = 0;
    ColourRuns runs;
    for (std::int64_t t = 0; t <= settings.ticks; ++t) {
        if (t > 0) tick(*scene);
        const EntityCensus census = take_census(*scene);
        std::string broken = check_records(*scene, census);
        if (broken.empty()) broken = check_population(*scene, census, seaweed_planted);
        if (!broken.empty()) {
            std::printf("FAILED %dx%d seed %u after tick %lld: %s\n", size.columns, size.rows, settings.seed,
                        static_cast<long long>(t), broken.c_str());
            return false;
        }
        peak.total = std::max(peak.total, census.total);
        peak.fish = std::max(peak.fish, census.fish);
        peak.bubbles = std::max(peak.bubbles, census.bubbles);
        peak.splats = std::max(peak.splats, census.splats);
        peak.visitor_parts = std::max(peak.visitor_parts, census.visitor_parts);
        if (settings.compose_every > 0 && t % settings.compose_every == 0) {
            compose(*scene);
            for (std::int32_t r = 0; r < scene->rows; ++r) split_runs(scene->grid, r, runs);
        }
        if (t % 4096 == 0) peak_heap = std::max(peak_heap, heap_in_use() - heap_before);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%dx%d: %lld ticks in %.1f s, all rules held\n", size.columns, size.rows,
                static_cast<long long>(settings.ticks), seconds);
    std::printf("  peak entities %lld (bound %lld): fish %lld (target %lld), bubbles %lld (bound %lld), "
                "splats %lld (bound %lld), visitor parts %lld (bound %lld)\n",
                static_cast<long long>(peak.total), static_cast<long long>(bound.total),
                static_cast<long long>(peak.fish), static_cast<long long>(bound.fish),
                static_cast<long long>(peak.bubbles), static_cast<long long>(bound.bubbles),
                static_cast<long long>(peak.splats), static_cast<long long>(bound.splats),
                static_cast<long long>(peak.visitor_parts), static_cast<long long>(bound.visitor_parts));
    if (peak_heap > 0)
        std::printf("  peak heap held by the scene %.1f KiB, process peak resident %lld KiB\n", peak_heap / 1024.0,
                    static_cast<long long>(peak_rss_kib()));
    else
        std::printf("  process peak resident %lld KiB (heap figures unavailable under this allocator)\n",
                    static_cast<long long>(peak_rss_kib()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!parse_args(argc, argv, settings)) {
        std::fprintf(stderr, "usage: glyphmarinae_soak [--ticks N] [--seed N] [--compose-every N] [--size CxR]...\n");
        return 2;
    }
    (void)gm::catalogue(); // built once, before the heap is first measured
    for (const Size size : settings.sizes)
        if (!soak(settings, size)) return 1;
    return 0;
}
