#pragma once
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/scene.h"
#include "host/common/host_contract.h"
#include "host/common/pacing.h"
#include "host/wayland/gnome_idle.h"
#include "host/wayland/painter.h"
#include "host/wayland/wayland_options.h"

struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewporter;
struct wp_viewport;
struct zxdg_decoration_manager_v1;
struct zxdg_toplevel_decoration_v1;
struct libdecor;
struct libdecor_frame;

namespace gm {

struct ModuleState;

struct Output {
    ModuleState* owner = nullptr;
    std::uint32_t name = 0; // the registry's, to know it when it goes
    wl_output* output = nullptr;
    std::int32_t scale = 1;
    std::string output_name; // the compositor's, such as DP-1; "" before wl_output 4
    bool viewed = false;     // a view was made for it once
};

// One surface with its own aquarium: a layer surface or a fullscreen window
// on one output, or the window of --window.
struct View {
    ModuleState* owner = nullptr;
    Output* output = nullptr;   // the output it was made for; none for --window
    Output* entered = nullptr;  // the output its surface went on last: --window's scale
    std::uint32_t seed = 0;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer_surface = nullptr;
    xdg_surface* window_surface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;             // with a fractional scale only
    wp_fractional_scale_v1* fractional_scale = nullptr;
    std::int32_t preferred_scale = 0; // the compositor's, in 120ths; 0 until it says
    zxdg_toplevel_decoration_v1* decoration = nullptr; // the compositor draws the window's decorations
    libdecor_frame* decorated = nullptr;               // or libdecor does, and owns its xdg_surface
    wl_callback* frame = nullptr; // the compositor has not shown the last frame yet
    std::int32_t width = 0;       // in surface coordinates, as configured; 0 until then
    std::int32_t height = 0;
    std::int32_t pending_width = 0; // a toplevel's size until its surface's configure
    std::int32_t pending_height = 0;
    // What the painter and the scene were last made for: when the size or
    // the scale moves away from it, both are made again.
    std::int32_t made_width = 0;
    std::int32_t made_height = 0;
    std::int32_t made_scale = 0; // in 120ths
    bool dirty = false;  // the grid changed since the last commit
    bool shown = false;  // the compositor has shown a frame of it
    bool closed = false; // the compositor took the surface away
    Scene scene;
    WaylandPainter painter;

    bool configured() const { return width > 0; }
    std::int32_t scale() const
    {
        const Output* shown_on = output ? output : entered;
        return shown_on ? shown_on->scale : 1;
    }
    // The surface's own preferred scale where the compositor tells it, which
    // may be fractional; else its output's.
    std::int32_t scale_120() const { return preferred_scale > 0 ? preferred_scale : scale() * 120; }
    bool needs_restart() const
    {
        return width != made_width || height != made_height || scale_120() != made_scale;
    }
};

// --idle's watcher: the compositor's idle timer for the seat, from the
// first protocol it offers, else Mutter's on the session bus, and the claim
// that keeps a second watcher out.
struct IdleWatch {
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kde_idle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kde_timeout = nullptr;
    GnomeIdle gnome;
    bool due = false; // the seat went idle; the aquarium comes at the next draw
    int claim = -1;   // the session's one socket name for a watcher
};

// The aquarium as a Wayland client, in the hosts' shape (host_contract.h):
// one state record, made by init, advanced by draw, restarted by reshape,
// told of the compositor's events, and released by free.
struct ModuleState {
    WaylandOptions options;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    zwlr_layer_shell_v1* layer_shell = nullptr;
    std::uint32_t layer_shell_version = 0;
    xdg_wm_base* wm_base = nullptr;
    wp_fractional_scale_manager_v1* fractional_scale = nullptr;
    wp_viewporter* viewporter = nullptr;
    zxdg_decoration_manager_v1* decoration_manager = nullptr; // none: libdecor decorates the windows
    libdecor* decorations = nullptr;                          // made with the first window it decorates
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<View>> views;
    View* pointer_view = nullptr;  // the view the pointer is over
    std::uint32_t pointer_serial = 0; // its enter's, which a cursor request names
    View* keyboard_view = nullptr; // the view that has the keyboard
    View* keyboard_left = nullptr; // the view it left, until the focus check
    wl_callback* focus_check = nullptr; // asked after the keyboard left a view
    // The views are made, so an output that comes from now on gets a view of
    // its own: past init's refusals, or with --idle while the aquarium shows.
    bool started = false;
    bool fonts_open = false; // for free to end
    IdleWatch idle;
    std::uint32_t next_seed = 0;
    std::uint32_t start_ms = 0;
    Pacer pacer;
    RunEnd end = RunEnd::running;
    std::string error; // one line for stderr when the run failed
};

// The first end is the one the run keeps, but for a failure, which is
// always told.
inline void end_run(ModuleState& state, RunEnd end)
{
    if (state.end == RunEnd::running) state.end = end;
}
inline void fail_run(ModuleState& state, std::string why)
{
    state.error = std::move(why);
    state.end = RunEnd::failed;
}

// Whether --output leaves the output its view.
inline bool wanted(const ModuleState& state, const Output& output)
{
    const auto& names = state.options.outputs;
    return names.empty() || std::find(names.begin(), names.end(), output.output_name) != names.end();
}

inline std::uint32_t now_ms() { return static_cast<std::uint32_t>(monotonic_now_ns() / 1'000'000); }

Started<ModuleState> module_init(const WaylandOptions& options);
// Ticks the scenes when due and shows them where the compositor is ready;
// the milliseconds until the next tick.
std::int64_t module_draw(ModuleState& state);
// Sizes the view's painter for its size and scale and restarts its scene
// with its seed.
bool module_reshape(ModuleState& state, View& view);
// Handles the events the connection has read: the listeners take them all,
// and the record says whether one of them ended the run.
EventResult module_event(ModuleState& state);
void module_free(ModuleState& state);

} // namespace gm
