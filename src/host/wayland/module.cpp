#include "host/wayland/module.h"

#include <cstdlib>
#include <unistd.h>

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/window_metrics.h"
#include "host/common/window_scene.h"
#include "host/wayland/decorated_window.h"
#include "host/wayland/idle_source.h"
#include "host/wayland/input.h"
#include "host/wayland/registry.h"
#include "host/wayland/surface_scale.h"
#include "host/wayland/view.h"
#include "host/wayland/watcher_claim.h"
#include "render/compose.h"

namespace gm {

namespace {

int font_pixels(const ModuleState& state, std::int32_t buffer_height)
{
    return state.options.font_size ? *state.options.font_size : font_height_for(buffer_height);
}

std::string listed(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + (name.empty() ? "(unnamed)" : name);
    return list.empty() ? "none" : list;
}
std::vector<std::string> names_of(const std::vector<std::unique_ptr<Output>>& outputs)
{
    std::vector<std::string> names;
    for (const auto& output : outputs) names.push_back(output->output_name);
    return names;
}

// What the compositor's globals allow of the place asked for.
struct PlaceVerdict {
    std::string refusal; // why it cannot be had, "" when it can
    std::string notice;  // how the screensaver makes do without a layer shell
};

PlaceVerdict verdict_on(const ModuleState& state, WaylandPlace place)
{
    if (place == WaylandPlace::background && !state.layer_shell)
        return {"the compositor has no layer shell, so it offers no background layer for a wallpaper", {}};
    if (place == WaylandPlace::screensaver && !state.layer_shell) {
        if (!state.wm_base) return {"the compositor offers neither a layer shell nor xdg-shell", {}};
        return {{}, "the compositor has no layer shell: fullscreen windows instead"};
    }
    if (place == WaylandPlace::window && !state.wm_base) return {"the compositor offers no xdg-shell windows", {}};
    if (!state.options.outputs.empty() &&
        std::ranges::none_of(state.outputs, [&](const auto& output) { return wanted(state, *output); }))
        return {"no output named " + listed(state.options.outputs) + "; the compositor has " +
                    listed(names_of(state.outputs)),
                {}};
    return {};
}

// Why the compositor cannot be used at all, or "" when it can: the
// globals, then what the bound ones say at once (output scales).
std::string meet_compositor(ModuleState& state)
{
    state.display = wl_display_connect(nullptr);
    if (!state.display) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        return std::string("cannot connect to the Wayland compositor '") + (name ? name : "wayland-0") + "'";
    }
    watch_registry(state);
    if (wl_display_roundtrip(state.display) < 0 || wl_display_roundtrip(state.display) < 0)
        return "the Wayland compositor closed the connection at once";
    if (!state.compositor || !state.shm) return "the Wayland compositor offers no wl_compositor 4 or wl_shm";
    return {};
}

// fontconfig reads its whole configuration when it starts, some ten
// milliseconds: once per run, so that a showing after the idle time does
// not wait for it.
void begin_fonts(ModuleState& state)
{
    if (!state.fonts_open) glyph_fonts_begin();
    state.fonts_open = true;
}

void make_views(ModuleState& state)
{
    state.start_ms = now_ms();
    state.started = true;
    if (state.options.place == WaylandPlace::window || !state.layer_shell) open_decorations(state);
    if (state.end == RunEnd::failed) return;
    if (state.options.place == WaylandPlace::window) {
        add_view(state, nullptr);
    } else {
        for (auto& output : state.outputs)
            if (wanted(state, *output)) add_view(state, output.get());
    }
    // The compositor configures the surfaces while the fonts start.
    wl_display_flush(state.display);
    begin_fonts(state);
}

// Each showing is a new aquarium: the next default seed, or after --seed
// the seeds that no showing has had yet; the mouse's grace period starts
// again with it.
void show_after_idle(ModuleState& state)
{
    if (!state.options.seed) state.next_seed = default_seed();
    state.pacer.start(monotonic_now_ns());
    make_views(state);
    idle_showing(state);
}

// Its surfaces go, not only their pictures, and it waits for the next
// idle time.
void hide_until_idle(ModuleState& state)
{
    drop_all_views(state);
    idle_hidden(state);
    state.started = false;
    state.end = RunEnd::running;
}

// The compositor met and judged; an idle watcher claims the session
// before, and has its idle timer running after.
PlaceVerdict meet_for_run(ModuleState& state)
{
    const std::optional<int>& idle_seconds = state.options.idle_seconds;
    std::string refusal;
    if (idle_seconds) state.idle.claim = claim_idle_watcher(refusal);
    if (refusal.empty()) refusal = meet_compositor(state);
    if (!refusal.empty()) return {std::move(refusal), {}};
    PlaceVerdict verdict = verdict_on(state, state.options.place);
    if (verdict.refusal.empty() && idle_seconds) verdict.refusal = start_idle_timer(state, *idle_seconds);
    return verdict;
}

} // namespace

Started<ModuleState> module_init(const WaylandOptions& options)
{
    auto state = std::make_unique<ModuleState>();
    state->options = options;
    state->next_seed = options.seed.value_or(default_seed());
    state->pacer.period_ns = 1'000'000'000 / options.fps;
    PlaceVerdict verdict = meet_for_run(*state);
    if (!verdict.refusal.empty()) {
        module_free(*state);
        return {nullptr, std::move(verdict.refusal), {}};
    }
    if (options.idle_seconds)
        begin_fonts(*state); // the views come at the seat's idle time
    else
        make_views(*state);
    state->pacer.start(monotonic_now_ns());
    return {std::move(state), {}, std::move(verdict.notice)};
}

std::int64_t module_draw(ModuleState& state)
{
    if (state.options.idle_seconds) {
        if (state.idle.due && !state.started) show_after_idle(state);
        state.idle.due = false;
        if (!state.started) return -1; // nothing to tick until the seat is idle
    }
    drop_closed_views(state);
    // Every output gone or its surface closed: nothing to tick until the
    // registry or an output's done event brings a view again.
    if (state.views.empty()) return -1;
    const std::int64_t now = monotonic_now_ns();
    const bool tick_due = state.pacer.due(now);
    if (tick_due) state.pacer.advance(now);
    for (auto& view : state.views) {
        if (!view->configured()) continue;
        if (view->needs_restart() && !module_reshape(state, *view)) return 0;
        if (tick_due) {
            tick(view->scene);
            compose(view->scene);
            view->dirty = true;
        }
        // A surface the compositor does not show gets no frame callback:
        // its scene goes on ticking, but nothing is drawn for it.
        if (view->dirty && !view->frame) show(state, *view);
    }
    return state.pacer.wait_ms(monotonic_now_ns());
}

bool module_reshape(ModuleState& state, View& view)
{
    view.made_width = view.width;
    view.made_height = view.height;
    view.made_scale = view.scale_120();
    const PixelSize buffer = apply_surface_scale(view);
    close_painter(view.painter);
    if (!open_painter(view.painter, state.shm, buffer.width, buffer.height, font_pixels(state, buffer.height))) {
        fail_run(state, "no font can be opened (fontconfig found no monospace font)");
        return false;
    }
    const glyph_font_metrics& cell = view.painter.metrics;
    start_window_scene(view.scene, buffer, {cell.cell_width, cell.cell_height}, view.seed);
    compose(view.scene);
    view.dirty = true;
    return true;
}

EventResult module_event(ModuleState& state)
{
    if (wl_display_dispatch_pending(state.display) < 0) end_run(state, RunEnd::failed);
    dispatch_decorations(state);
    take_idle_events(state);
    // What ends the plain screensaver only hides the watcher's.
    if (state.end == RunEnd::user && state.options.idle_seconds) hide_until_idle(state);
    return {true, state.end};
}

void module_free(ModuleState& state)
{
    drop_all_views(state);
    // The plugin that draws libdecor's title bars keeps fontconfig's caches
    // to the process's end: finishing fontconfig under it aborts.
    if (state.fonts_open && !state.decorations) glyph_fonts_end();
    release_decorations(state);
    release_idle_source(state);
    release_input(state);
    release_globals(state);
    if (state.display) wl_display_disconnect(state.display);
    if (state.idle.claim >= 0) close(state.idle.claim);
    state = ModuleState{};
}

} // namespace gm
