#include "host/wayland/module.h"

#include <linux/input-event-codes.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/mouse_rule.h"
#include "host/common/window_metrics.h"
#include "population/population.h"
#include "render/compose.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace gm {

namespace {

// The newest versions whose requests and events the program knows.
constexpr std::uint32_t compositor_version = 4; // damage_buffer
constexpr std::uint32_t output_version = 2;     // scale and done
constexpr std::uint32_t layer_shell_version = 4;
constexpr std::uint32_t seat_version = 5;
constexpr std::uint32_t wm_base_version = 1;

// The size a window of its own asks for until the compositor says otherwise.
constexpr std::int32_t window_width = 960;
constexpr std::int32_t window_height = 600;

std::uint32_t now_ms() { return static_cast<std::uint32_t>(monotonic_now_ns() / 1'000'000); }

bool reads_input(const ModuleState& state) { return state.options.place != WaylandPlace::background; }

void end_by_input(ModuleState& state)
{
    if (state.end == RunEnd::running) state.end = RunEnd::stopped;
}

// Listener records are filled by name and the rest left empty: the events of
// versions newer than the one bound never come, whatever the header lists.

// --- the surfaces -------------------------------------------------------

void on_frame_done(void* data, wl_callback* callback, std::uint32_t)
{
    auto* view = static_cast<View*>(data);
    wl_callback_destroy(callback);
    view->frame = nullptr;
}
const wl_callback_listener frame_listener = {on_frame_done};

void take_size(View& view, std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0) return;
    if (width != view.width || height != view.height) view.restart = true;
    view.width = width;
    view.height = height;
    view.configured = true;
}

void on_surface_enter(void* data, wl_surface*, wl_output* output)
{
    auto* view = static_cast<View*>(data);
    if (view->output) return; // a view made for an output keeps that output's scale
    for (const auto& known : view->owner->outputs)
        if (known->output == output && known->scale != view->scale) {
            view->scale = known->scale;
            view->restart = view->configured;
        }
}
void on_surface_leave(void*, wl_surface*, wl_output*) {}
const wl_surface_listener surface_listener = {on_surface_enter, on_surface_leave};

void on_layer_configure(void* data, zwlr_layer_surface_v1* surface, std::uint32_t serial, std::uint32_t width,
                        std::uint32_t height)
{
    auto* view = static_cast<View*>(data);
    zwlr_layer_surface_v1_ack_configure(surface, serial);
    take_size(*view, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
}
void on_layer_closed(void* data, zwlr_layer_surface_v1*) { static_cast<View*>(data)->closed = true; }
const zwlr_layer_surface_v1_listener layer_listener = {on_layer_configure, on_layer_closed};

void on_toplevel_configure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    auto* view = static_cast<View*>(data);
    view->pending_width = width;
    view->pending_height = height;
}
void on_toplevel_close(void* data, xdg_toplevel*) { end_by_input(*static_cast<View*>(data)->owner); }
const xdg_toplevel_listener toplevel_listener = [] {
    xdg_toplevel_listener listener{};
    listener.configure = on_toplevel_configure;
    listener.close = on_toplevel_close;
    return listener;
}();

void on_window_configure(void* data, xdg_surface* surface, std::uint32_t serial)
{
    auto* view = static_cast<View*>(data);
    xdg_surface_ack_configure(surface, serial);
    // Zero leaves the size to the client: the size it has, or its first one.
    const std::int32_t width = view->pending_width > 0 ? view->pending_width : view->width > 0 ? view->width : window_width;
    const std::int32_t height =
        view->pending_height > 0 ? view->pending_height : view->height > 0 ? view->height : window_height;
    take_size(*view, width, height);
}
const xdg_surface_listener window_listener = {on_window_configure};

void make_layer_surface(ModuleState& state, View& view)
{
    const bool background = state.options.place == WaylandPlace::background;
    view.layer_surface = zwlr_layer_shell_v1_get_layer_surface(
        state.layer_shell, view.surface, view.output->output,
        background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "glyphmarinae");
    zwlr_layer_surface_v1_add_listener(view.layer_surface, &layer_listener, &view);
    zwlr_layer_surface_v1_set_anchor(view.layer_surface,
                                      ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                          ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Under panels too, and nobody else's reserved room moves it.
    zwlr_layer_surface_v1_set_exclusive_zone(view.layer_surface, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        view.layer_surface, background ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE
                                       : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    if (background) {
        // An empty input region: clicks on the wallpaper reach the desktop.
        wl_region* nothing = wl_compositor_create_region(state.compositor);
        wl_surface_set_input_region(view.surface, nothing);
        wl_region_destroy(nothing);
    }
}

void make_window(ModuleState& state, View& view)
{
    view.window_surface = xdg_wm_base_get_xdg_surface(state.wm_base, view.surface);
    xdg_surface_add_listener(view.window_surface, &window_listener, &view);
    view.toplevel = xdg_surface_get_toplevel(view.window_surface);
    xdg_toplevel_add_listener(view.toplevel, &toplevel_listener, &view);
    xdg_toplevel_set_title(view.toplevel, "Glyphmarinae");
    xdg_toplevel_set_app_id(view.toplevel, "glyphmarinae");
    if (view.output) xdg_toplevel_set_fullscreen(view.toplevel, view.output->output);
}

void add_view(ModuleState& state, Output* output)
{
    auto view = std::make_unique<View>();
    view->owner = &state;
    view->output = output;
    view->scale = output ? output->scale : 1;
    view->seed = state.next_seed++;
    view->scene.start_tick = state.start_ms;
    view->surface = wl_compositor_create_surface(state.compositor);
    wl_surface_add_listener(view->surface, &surface_listener, view.get());
    if (output && state.layer_shell)
        make_layer_surface(state, *view);
    else
        make_window(state, *view);
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(view->surface);
    state.views.push_back(std::move(view));
}

void free_view(ModuleState& state, View& view)
{
    if (state.pointer_view == &view) state.pointer_view = nullptr;
    close_painter(view.painter);
    if (view.frame) wl_callback_destroy(view.frame);
    if (view.layer_surface) zwlr_layer_surface_v1_destroy(view.layer_surface);
    if (view.toplevel) xdg_toplevel_destroy(view.toplevel);
    if (view.window_surface) xdg_surface_destroy(view.window_surface);
    if (view.surface) wl_surface_destroy(view.surface);
}

void drop_views(ModuleState& state, const auto& gone)
{
    auto& views = state.views;
    for (auto& view : views)
        if (gone(*view)) free_view(state, *view);
    std::erase_if(views, [&](const std::unique_ptr<View>& view) { return gone(*view); });
}

// --- input --------------------------------------------------------------

View* view_of(ModuleState& state, wl_surface* surface)
{
    for (auto& view : state.views)
        if (view->surface == surface) return view.get();
    return nullptr;
}

void pointer_at(ModuleState& state, wl_fixed_t x, wl_fixed_t y)
{
    View* view = state.pointer_view;
    // A window of its own ends on clicks and keys, not on the mouse passing.
    if (!view || state.options.place == WaylandPlace::window) return;
    if (mouse_move_closes(view->scene, wl_fixed_to_int(x), wl_fixed_to_int(y), now_ms())) end_by_input(state);
}

void on_pointer_enter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                      wl_fixed_t y)
{
    auto& state = *static_cast<ModuleState*>(data);
    state.pointer_view = view_of(state, surface);
    if (state.options.place != WaylandPlace::window) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    pointer_at(state, x, y);
}
void on_pointer_leave(void* data, wl_pointer*, std::uint32_t, wl_surface*)
{
    static_cast<ModuleState*>(data)->pointer_view = nullptr;
}
void on_pointer_motion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    pointer_at(*static_cast<ModuleState*>(data), x, y);
}
void on_pointer_button(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
                       std::uint32_t pressed)
{
    // Left and right clicks end the run; the middle button and the wheel do not.
    if (pressed == WL_POINTER_BUTTON_STATE_PRESSED && (button == BTN_LEFT || button == BTN_RIGHT))
        end_by_input(*static_cast<ModuleState*>(data));
}
void on_pointer_axis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void on_pointer_frame(void*, wl_pointer*) {}
void on_pointer_axis_source(void*, wl_pointer*, std::uint32_t) {}
void on_pointer_axis_stop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void on_pointer_axis_discrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener pointer_listener = [] {
    wl_pointer_listener listener{};
    listener.enter = on_pointer_enter;
    listener.leave = on_pointer_leave;
    listener.motion = on_pointer_motion;
    listener.button = on_pointer_button;
    listener.axis = on_pointer_axis;
    listener.frame = on_pointer_frame;
    listener.axis_source = on_pointer_axis_source;
    listener.axis_stop = on_pointer_axis_stop;
    listener.axis_discrete = on_pointer_axis_discrete;
    return listener;
}();

void on_keymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); }
void on_keyboard_enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void on_keyboard_leave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void on_key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t pressed)
{
    if (pressed == WL_KEYBOARD_KEY_STATE_PRESSED) end_by_input(*static_cast<ModuleState*>(data));
}
void on_modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void on_repeat_info(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener keyboard_listener = {on_keymap, on_keyboard_enter, on_keyboard_leave,
                                                on_key,    on_modifiers,      on_repeat_info};

// The release requests came with seat version 3; before that the proxy
// is only forgotten.
void release(wl_pointer* pointer)
{
    if (wl_pointer_get_version(pointer) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(pointer);
    else
        wl_pointer_destroy(pointer);
}
void release(wl_keyboard* keyboard)
{
    if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(keyboard);
    else
        wl_keyboard_destroy(keyboard);
}

void on_seat_capabilities(void* data, wl_seat* seat, std::uint32_t capabilities)
{
    auto& state = *static_cast<ModuleState*>(data);
    const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (pointer && !state.pointer) {
        state.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(state.pointer, &pointer_listener, &state);
    } else if (!pointer && state.pointer) {
        release(state.pointer);
        state.pointer = nullptr;
    }
    if (keyboard && !state.keyboard) {
        state.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(state.keyboard, &keyboard_listener, &state);
    } else if (!keyboard && state.keyboard) {
        release(state.keyboard);
        state.keyboard = nullptr;
    }
}
void on_seat_name(void*, wl_seat*, const char*) {}
const wl_seat_listener seat_listener = {on_seat_capabilities, on_seat_name};

// --- the globals --------------------------------------------------------

void on_output_geometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        const char*, const char*, std::int32_t)
{
}
void on_output_mode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void on_output_done(void* data, wl_output*)
{
    auto* output = static_cast<Output*>(data);
    for (auto& view : output->owner->views)
        if (view->output == output && view->scale != output->scale) {
            view->scale = output->scale;
            view->restart = view->configured;
        }
}
void on_output_scale(void* data, wl_output*, std::int32_t factor)
{
    static_cast<Output*>(data)->scale = std::max(factor, 1);
}
const wl_output_listener output_listener = [] {
    wl_output_listener listener{};
    listener.geometry = on_output_geometry;
    listener.mode = on_output_mode;
    listener.done = on_output_done;
    listener.scale = on_output_scale;
    return listener;
}();

void on_ping(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener wm_base_listener = {on_ping};

template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t advertised,
            std::uint32_t known)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(advertised, known)));
}

void on_global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
{
    auto& state = *static_cast<ModuleState*>(data);
    const auto is = [&](const wl_interface& known) { return std::strcmp(interface, known.name) == 0; };
    if (is(wl_compositor_interface) && version >= compositor_version) {
        state.compositor = bind<wl_compositor>(registry, name, wl_compositor_interface, version, compositor_version);
    } else if (is(wl_shm_interface)) {
        state.shm = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        state.layer_shell_version = std::min(version, layer_shell_version);
        state.layer_shell =
            bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, layer_shell_version);
    } else if (is(xdg_wm_base_interface)) {
        state.wm_base = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, wm_base_version);
        xdg_wm_base_add_listener(state.wm_base, &wm_base_listener, &state);
    } else if (is(wl_seat_interface) && !state.seat && reads_input(state)) {
        state.seat = bind<wl_seat>(registry, name, wl_seat_interface, version, seat_version);
        wl_seat_add_listener(state.seat, &seat_listener, &state);
    } else if (is(wl_output_interface) && version >= output_version) {
        auto output = std::make_unique<Output>();
        output->owner = &state;
        output->name = name;
        output->output = bind<wl_output>(registry, name, wl_output_interface, version, output_version);
        wl_output_add_listener(output->output, &output_listener, output.get());
        state.outputs.push_back(std::move(output));
        if (state.started && state.options.place != WaylandPlace::window) add_view(state, state.outputs.back().get());
    }
}

void on_global_remove(void* data, wl_registry*, std::uint32_t name)
{
    auto& state = *static_cast<ModuleState*>(data);
    auto found = std::find_if(state.outputs.begin(), state.outputs.end(),
                              [&](const std::unique_ptr<Output>& output) { return output->name == name; });
    if (found == state.outputs.end()) return;
    Output* gone = found->get();
    drop_views(state, [&](const View& view) { return view.output == gone; });
    wl_output_destroy(gone->output);
    state.outputs.erase(found);
}
const wl_registry_listener registry_listener = {on_global, on_global_remove};

int font_pixels(const ModuleState& state, std::int32_t buffer_height)
{
    return state.options.font_size ? *state.options.font_size : font_height_for(buffer_height);
}

void show(ModuleState& state, View& view)
{
    switch (paint_changes(view.painter, view.surface, view.scene.grid)) {
    case Painted::no_buffer: return; // drawn when the compositor gives one back
    case Painted::failed:
        state.error = "cannot map shared memory for a frame";
        state.end = RunEnd::failed;
        return;
    case Painted::attached: break;
    }
    view.frame = wl_surface_frame(view.surface);
    wl_callback_add_listener(view.frame, &frame_listener, &view);
    wl_surface_commit(view.surface);
    view.dirty = false;
}

// Why the compositor cannot give this place, or "" when it can; `notice`
// says how the screensaver makes do without a layer shell.
std::string refusal_of(const ModuleState& state, WaylandPlace place, std::string& notice)
{
    if (place == WaylandPlace::background && !state.layer_shell)
        return "the compositor has no layer shell, so it offers no background layer for a wallpaper";
    if (place == WaylandPlace::screensaver && !state.layer_shell) {
        if (!state.wm_base) return "the compositor offers neither a layer shell nor xdg-shell";
        notice = "the compositor has no layer shell: fullscreen windows instead";
    }
    if (place == WaylandPlace::window && !state.wm_base) return "the compositor offers no xdg-shell windows";
    return {};
}

} // namespace

ModuleStart module_init(const WaylandOptions& options)
{
    auto state = std::make_unique<ModuleState>();
    state->options = options;
    state->next_seed = options.seed.value_or(default_seed());
    state->pacer.period_ns = 1'000'000'000 / options.fps;
    state->display = wl_display_connect(nullptr);
    if (!state->display) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        return {nullptr, std::string("cannot connect to the Wayland compositor '") + (name ? name : "wayland-0") + "'",
                {}};
    }
    state->registry = wl_display_get_registry(state->display);
    wl_registry_add_listener(state->registry, &registry_listener, state.get());
    // The globals, then what the bound ones say at once (output scales).
    const auto refuse = [&](std::string error) {
        module_free(*state);
        return ModuleStart{nullptr, std::move(error), {}};
    };
    if (wl_display_roundtrip(state->display) < 0 || wl_display_roundtrip(state->display) < 0)
        return refuse("the Wayland compositor closed the connection at once");
    if (!state->compositor || !state->shm) return refuse("the Wayland compositor offers no wl_compositor 4 or wl_shm");

    ModuleStart started;
    const WaylandPlace place = options.place;
    if (std::string refusal = refusal_of(*state, place, started.notice); !refusal.empty())
        return refuse(std::move(refusal));

    glyph_fonts_begin();
    state->start_ms = now_ms();
    state->started = true;
    if (place == WaylandPlace::window) {
        add_view(*state, nullptr);
    } else {
        for (auto& output : state->outputs) add_view(*state, output.get());
    }
    state->pacer.start(monotonic_now_ns());
    started.state = std::move(state);
    return started;
}

int module_draw(ModuleState& state)
{
    drop_views(state, [](const View& view) { return view.closed; });
    const std::int64_t now = monotonic_now_ns();
    const bool tick_due = state.pacer.due(now);
    if (tick_due) state.pacer.advance(now);
    for (auto& view : state.views) {
        if (!view->configured) continue;
        if (view->restart && !module_reshape(state, *view)) return 0;
        if (tick_due) {
            tick(view->scene);
            compose(view->scene);
            view->dirty = true;
        }
        // A surface the compositor does not show gets no frame callback:
        // its scene goes on ticking, but nothing is drawn for it.
        if (view->dirty && !view->frame) show(state, *view);
    }
    return static_cast<int>(state.pacer.wait_ms(monotonic_now_ns()));
}

bool module_reshape(ModuleState& state, View& view)
{
    view.restart = false;
    const std::int32_t width = view.width * view.scale;
    const std::int32_t height = view.height * view.scale;
    close_painter(view.painter);
    if (!open_painter(view.painter, state.shm, width, height, font_pixels(state, height))) {
        state.error = "no font can be opened (fontconfig found no monospace font)";
        state.end = RunEnd::failed;
        return false;
    }
    wl_surface_set_buffer_scale(view.surface, view.scale);
    Scene& scene = view.scene;
    scene.client_width = width;
    scene.client_height = height;
    scene.cell_width = view.painter.metrics.cell_width;
    scene.cell_height = view.painter.metrics.cell_height;
    const GridSize size = grid_size_for(width, height, scene.cell_width, scene.cell_height);
    // The mouse rule's first position and start time outlive the restart.
    start_scene(scene, size.columns, size.rows, view.seed);
    compose(scene);
    view.dirty = true;
    return true;
}

RunEnd module_event(ModuleState& state)
{
    if (wl_display_dispatch_pending(state.display) < 0 && state.end == RunEnd::running) state.end = RunEnd::failed;
    return state.end;
}

void module_free(ModuleState& state)
{
    drop_views(state, [](const View&) { return true; });
    if (state.started) glyph_fonts_end();
    state.started = false;
    if (state.pointer) release(state.pointer);
    if (state.keyboard) release(state.keyboard);
    if (state.seat) wl_seat_destroy(state.seat);
    for (auto& output : state.outputs) wl_output_destroy(output->output);
    state.outputs.clear();
    if (state.layer_shell) {
        if (state.layer_shell_version >= 3)
            zwlr_layer_shell_v1_destroy(state.layer_shell);
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(state.layer_shell));
    }
    if (state.wm_base) xdg_wm_base_destroy(state.wm_base);
    if (state.shm) wl_shm_destroy(state.shm);
    if (state.compositor) wl_compositor_destroy(state.compositor);
    if (state.registry) wl_registry_destroy(state.registry);
    if (state.display) wl_display_disconnect(state.display);
    state = ModuleState{};
}

} // namespace gm
