#include "host/web/aquarium.h"

#include <cstring>
#include <string_view>

#include "engine/tick.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

std::int32_t take_changes(WebAquarium& aquarium)
{
    aquarium.plan.make(aquarium.drawn, aquarium.scene.grid);
    aquarium.spans.clear();
    for (const PaintSpan& span : aquarium.plan.spans())
        aquarium.spans.insert(aquarium.spans.end(), {span.row, span.first, span.end});
    aquarium.drawn = aquarium.scene.grid;
    return static_cast<std::int32_t>(aquarium.spans.size() / 3);
}

} // namespace

void web_start(WebAquarium& aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed)
{
    start_scene(aquarium.scene, columns, rows, seed);
    // A new size differs everywhere, so the first frame is drawn whole.
    aquarium.drawn = CellGrid();
    aquarium.plan.make(aquarium.drawn, aquarium.drawn);
    aquarium.spans.clear();
}

std::int32_t web_compose(WebAquarium& aquarium)
{
    compose(aquarium.scene);
    return take_changes(aquarium);
}

std::int32_t web_tick(WebAquarium& aquarium)
{
    tick(aquarium.scene);
    return web_compose(aquarium);
}

void flatten_plan(WebAquarium& aquarium)
{
    const PaintPlan& plan = aquarium.plan;
    const std::string_view characters = plan.runs().characters();
    std::vector<std::int32_t>& words = aquarium.flat_plan;
    words.clear();
    const auto word = [](std::size_t count) { return static_cast<std::int32_t>(count); };
    words.insert(words.end(), {word(plan.spans().size()), word(plan.runs().size()), word(characters.size())});
    for (const PaintSpan& span : plan.spans())
        words.insert(words.end(), {span.row, span.first, span.end, span.first_run, span.run_count});
    for (const ColourRun& run : plan.runs())
        words.insert(words.end(), {run.column, word(run.text.size()), static_cast<std::int32_t>(run.colour),
                                   word(static_cast<std::size_t>(run.text.data() - characters.data()))});
    const std::size_t text_at = words.size();
    words.resize(text_at + (characters.size() + 3) / 4);
    std::memcpy(words.data() + text_at, characters.data(), characters.size());
}

} // namespace gm
