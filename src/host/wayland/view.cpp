#include "host/wayland/view.h"

#include "host/wayland/decorated_window.h"
#include "host/wayland/input.h"
#include "host/wayland/surface_scale.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace gm {

namespace {

// The size a window of its own asks for until the compositor says otherwise.
constexpr std::int32_t window_width = 960;
constexpr std::int32_t window_height = 600;

// Listener records name every event the header lists; those of versions
// newer than the one bound never come and are left null.

void on_frame_done(void* data, wl_callback* callback, std::uint32_t)
{
    auto* view = static_cast<View*>(data);
    wl_callback_destroy(callback);
    view->frame = nullptr;
    // A new output's first frame comes after the compositor set the output
    // up, and with it its own cursor.
    if (!view->shown) hide_pointer(*view->owner);
    view->shown = true;
}
const wl_callback_listener frame_listener = {.done = on_frame_done};

void take_size(View& view, std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0) return;
    view.width = width;
    view.height = height;
}

void on_surface_enter(void* data, wl_surface*, wl_output* output)
{
    auto* view = static_cast<View*>(data);
    for (const auto& known : view->owner->outputs)
        if (known->output == output) view->entered = known.get();
}
const wl_surface_listener surface_listener = {
    .enter = on_surface_enter,
    .leave = [](void*, wl_surface*, wl_output*) {},
};

void on_layer_configure(void* data, zwlr_layer_surface_v1* surface, std::uint32_t serial, std::uint32_t width,
                        std::uint32_t height)
{
    auto* view = static_cast<View*>(data);
    zwlr_layer_surface_v1_ack_configure(surface, serial);
    take_size(*view, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
}
void on_layer_closed(void* data, zwlr_layer_surface_v1*) { static_cast<View*>(data)->closed = true; }
const zwlr_layer_surface_v1_listener layer_listener = {
    .configure = on_layer_configure,
    .closed = on_layer_closed,
};

void on_toplevel_configure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*)
{
    auto* view = static_cast<View*>(data);
    view->pending_width = width;
    view->pending_height = height;
}
void on_toplevel_close(void* data, xdg_toplevel*) { end_run(*static_cast<View*>(data)->owner, RunEnd::host); }
const xdg_toplevel_listener toplevel_listener = {
    .configure = on_toplevel_configure,
    .close = on_toplevel_close,
    .configure_bounds = nullptr, // xdg_wm_base version 4
    .wm_capabilities = nullptr,  // version 5
};

// Zero leaves the size to the client: the size it has, or its first one.
std::int32_t chosen(std::int32_t asked, std::int32_t had, std::int32_t first)
{
    return asked > 0 ? asked : had > 0 ? had : first;
}

void on_window_configure(void* data, xdg_surface* surface, std::uint32_t serial)
{
    auto* view = static_cast<View*>(data);
    xdg_surface_ack_configure(surface, serial);
    take_window_size(*view, view->pending_width, view->pending_height);
}
const xdg_surface_listener window_listener = {.configure = on_window_configure};

void make_layer_surface(ModuleState& state, View& view)
{
    const bool background = state.options.place == WaylandPlace::background;
    // The wallpaper lies on the bottom layer, still under every window: on the
    // background layer the compositor's own wallpaper (sway's swaybg) covers
    // a surface that maps after it.
    view.layer_surface = zwlr_layer_shell_v1_get_layer_surface(
        state.layer_shell, view.surface, view.output->output,
        background ? ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "glyphmarinae");
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

// A window the compositor decorates: the mode it answers with is its own
// choice, and no listener hears it.
void make_window(ModuleState& state, View& view)
{
    view.window_surface = xdg_wm_base_get_xdg_surface(state.wm_base, view.surface);
    xdg_surface_add_listener(view.window_surface, &window_listener, &view);
    view.toplevel = xdg_surface_get_toplevel(view.window_surface);
    xdg_toplevel_add_listener(view.toplevel, &toplevel_listener, &view);
    xdg_toplevel_set_title(view.toplevel, window_title);
    xdg_toplevel_set_app_id(view.toplevel, window_app_id);
    view.decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(state.decoration_manager, view.toplevel);
    zxdg_toplevel_decoration_v1_set_mode(view.decoration, ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    if (view.output) xdg_toplevel_set_fullscreen(view.toplevel, view.output->output);
}

void free_view(ModuleState& state, View& view)
{
    if (state.pointer_view == &view) state.pointer_view = nullptr;
    if (state.keyboard_view == &view) state.keyboard_view = nullptr;
    if (state.keyboard_left == &view) state.keyboard_left = nullptr;
    close_painter(view.painter);
    if (view.frame) wl_callback_destroy(view.frame);
    if (view.layer_surface) zwlr_layer_surface_v1_destroy(view.layer_surface);
    free_decorated_window(view);
    // A decoration outliving its toplevel is a protocol error.
    if (view.decoration) zxdg_toplevel_decoration_v1_destroy(view.decoration);
    if (view.toplevel) xdg_toplevel_destroy(view.toplevel);
    if (view.window_surface) xdg_surface_destroy(view.window_surface);
    release_surface_scale(view);
    if (view.surface) wl_surface_destroy(view.surface);
}

void drop_views(ModuleState& state, const auto& gone)
{
    auto& views = state.views;
    for (auto& view : views)
        if (gone(*view)) free_view(state, *view);
    std::erase_if(views, [&](const std::unique_ptr<View>& view) { return gone(*view); });
}

} // namespace

void add_view(ModuleState& state, Output* output)
{
    auto view = std::make_unique<View>();
    view->owner = &state;
    view->output = output;
    if (output) output->viewed = true;
    view->seed = state.next_seed++;
    view->scene.start_tick = state.start_ms;
    view->surface = wl_compositor_create_surface(state.compositor);
    wl_surface_add_listener(view->surface, &surface_listener, view.get());
    watch_surface_scale(state, *view);
    if (output && state.layer_shell)
        make_layer_surface(state, *view);
    else if (state.decoration_manager)
        make_window(state, *view);
    else
        make_decorated_window(state, *view);
    // The first commit, without a buffer, asks for the first configure.
    wl_surface_commit(view->surface);
    state.views.push_back(std::move(view));
}

// The output stays known: its next done event, such as when it is enabled
// again, makes its view again.
void drop_closed_views(ModuleState& state)
{
    for (auto& view : state.views)
        if (view->closed && view->output) view->output->viewed = false;
    drop_views(state, [](const View& view) { return view.closed; });
}

// Its views are dropped with the closed ones, once the events read with the
// output's removal have been dispatched: libwayland 1.21 never frees a
// surface destroyed while an event still queued names it (the keyboard's
// and the pointer's leave).
void drop_views_of(ModuleState& state, const Output& output)
{
    for (auto& view : state.views) {
        if (view->output == &output) {
            view->closed = true;
            view->output = nullptr;
        }
        // A window that was on it is drawn at scale 1 until it enters another.
        if (view->entered == &output) view->entered = nullptr;
    }
}

void drop_all_views(ModuleState& state)
{
    drop_views(state, [](const View&) { return true; });
}

void take_window_size(View& view, std::int32_t width, std::int32_t height)
{
    take_size(view, chosen(width, view.width, window_width), chosen(height, view.height, window_height));
}

View* view_of(ModuleState& state, wl_surface* surface)
{
    for (auto& view : state.views)
        if (view->surface == surface) return view.get();
    return nullptr;
}

void show(ModuleState& state, View& view)
{
    switch (paint_changes(view.painter, view.surface, view.scene.grid)) {
    case Painted::no_buffer: return; // drawn when the compositor gives one back
    case Painted::unchanged:
        view.dirty = false; // no commit: the compositor has nothing to show again
        return;
    case Painted::failed:
        fail_run(state, "cannot map shared memory for a frame");
        return;
    case Painted::attached: break;
    }
    view.frame = wl_surface_frame(view.surface);
    wl_callback_add_listener(view.frame, &frame_listener, &view);
    wl_surface_commit(view.surface);
    view.dirty = false;
}

} // namespace gm
