#include "host/x11/module.h"

#include <X11/Xutil.h>

#include <cstdio>

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/window_metrics.h"
#include "host/common/window_scene.h"
#include "host/x11/x_errors.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

constexpr long own_events = KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask;
// In a window that belongs to someone else the aquarium only watches for
// being uncovered, resized or destroyed; input stays with the owner.
constexpr long foreign_events = ExposureMask | StructureNotifyMask;

Window create_own_window(ModuleState& state)
{
    Display* display = state.display;
    const int screen = DefaultScreen(display);
    const auto width = static_cast<unsigned>(DisplayWidth(display, screen) * 3 / 4);
    const auto height = static_cast<unsigned>(DisplayHeight(display, screen) * 3 / 4);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = own_events;
    const Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XStoreName(display, window, "Glyphmarinae");
    XClassHint class_hint{const_cast<char*>("glyphmarinae-x11"), const_cast<char*>("Glyphmarinae")};
    XSetClassHint(display, window, &class_hint);
    state.protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    state.delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &state.delete_window, 1);
    XMapWindow(display, window);
    return window;
}

int font_pixels(const ModuleState& state, std::int32_t height)
{
    return state.font_size ? *state.font_size : font_height_for(height);
}

bool start(ModuleState& state, const XWindowAttributes& attributes)
{
    if (!open_painter(state.painter, state.display, state.window, attributes, font_pixels(state, attributes.height)))
        return false;
    const X11Painter& painter = state.painter;
    start_window_scene(state.scene, {painter.width, painter.height}, {painter.cell_width, painter.cell_height},
                       state.seed);
    compose(state.scene);
    paint_changes(state.painter, state.scene.grid);
    state.pacer.start(monotonic_now_ns());
    return true;
}

} // namespace

Started<ModuleState> module_init(Display* display, Window window, const X11Options& options)
{
    auto state = std::make_unique<ModuleState>();
    state->display = display;
    state->seed = options.seed.value_or(default_seed());
    state->font_size = options.font_size;
    state->pacer.period_ns = 1'000'000'000 / options.fps;
    state->own_window = window == None;
    state->window = state->own_window ? create_own_window(*state) : window;

    XWindowAttributes attributes{};
    take_x_error(display);
    const Status got = XGetWindowAttributes(display, state->window, &attributes);
    if (!got || take_x_error(display).any) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", state->window);
        return {nullptr, std::string("window ") + id + " does not exist", {}};
    }
    if (!state->own_window) XSelectInput(display, state->window, foreign_events);
    if (!start(*state, attributes)) {
        module_free(*state);
        return {nullptr, "no font can be opened (fontconfig found no monospace font)", {}};
    }
    return {std::move(state), {}, {}};
}

std::int64_t module_draw(ModuleState& state)
{
    const std::int64_t now = monotonic_now_ns();
    if (state.pacer.due(now)) {
        tick(state.scene);
        compose(state.scene);
        paint_changes(state.painter, state.scene.grid);
        state.pacer.advance(now);
    }
    return state.pacer.wait_ms(monotonic_now_ns());
}

bool module_reshape(ModuleState& state, std::int32_t width, std::int32_t height)
{
    if (width == state.painter.width && height == state.painter.height) return true;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(state.display, state.window, &attributes)) return false;
    close_painter(state.painter);
    return start(state, attributes);
}

EventResult module_event(ModuleState& state, const XEvent& event)
{
    switch (event.type) {
    case Expose:
        show_area(state.painter, event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height);
        return {true};
    case ConfigureNotify:
        // A drag makes a storm of these: only the last size is acted on.
        state.pending_width = event.xconfigure.width;
        state.pending_height = event.xconfigure.height;
        return {true};
    case DestroyNotify:
        // The owner closed the window it lent us.
        return handled_ending_if(event.xdestroywindow.window == state.window, RunEnd::host);
    case KeyPress:
        return handled_ending_if(state.own_window, RunEnd::user);
    case ButtonPress:
        // Left and right clicks end the run; the middle button and the wheel do not.
        return handled_ending_if(state.own_window && (event.xbutton.button == Button1 || event.xbutton.button == Button3),
                                 RunEnd::user);
    case ClientMessage:
        return handled_ending_if(state.own_window && event.xclient.message_type == state.protocols &&
                                     event.xclient.format == 32 &&
                                     static_cast<Atom>(event.xclient.data.l[0]) == state.delete_window,
                                 RunEnd::host);
    default:
        return {};
    }
}

void module_free(ModuleState& state)
{
    close_painter(state.painter);
    if (state.own_window && state.window != None) {
        XDestroyWindow(state.display, state.window);
        state.window = None;
    }
}

} // namespace gm
