#include <X11/Xlib.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <poll.h>

#include "host/common/run_program.h"
#include "host/common/signals.h"
#include "host/x11/module.h"
#include "host/x11/target_window.h"
#include "host/x11/x11_options.h"
#include "host/x11/x_errors.h"

namespace gm {

namespace {

constexpr const char* program = "glyphmarinae-x11: ";

// Drawing into a window that its owner has just destroyed fails before the
// DestroyNotify arrives: that is the owner's way to end.
RunEnd after_x_error(ModuleState& state)
{
    const XErrorSeen error = take_x_error(state.display);
    if (error.resource == state.window && (error.error_code == BadWindow || error.error_code == BadDrawable))
        return RunEnd::host;
    char text[128] = {};
    XGetErrorText(state.display, error.error_code, text, sizeof text);
    std::cerr << program << "the X server refused a request: " << text << "\n";
    return RunEnd::failed;
}

// The last size the events reported, if any; false when the aquarium cannot
// be drawn at it.
bool take_new_size(ModuleState& state)
{
    if (state.pending_width == 0) return true;
    const bool restarted = module_reshape(state, state.pending_width, state.pending_height);
    state.pending_width = state.pending_height = 0;
    if (!restarted) std::cerr << program << "cannot draw at the window's new size\n";
    return restarted;
}

// What the connection has read, handled in order; the run's end, if one came.
RunEnd take_events(ModuleState& state)
{
    while (XPending(state.display) > 0) {
        XEvent event;
        XNextEvent(state.display, &event);
        if (const RunEnd end = module_event(state, event).end; end != RunEnd::running) return end;
    }
    return RunEnd::running;
}

// Waits on the connection, never busy: events are handled as they come, and
// a frame is drawn whenever its deadline has passed.
RunEnd run(ModuleState& state)
{
    Display* display = state.display;
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    while (!stop_requested()) {
        if (const RunEnd end = take_events(state); end != RunEnd::running) return end;
        if (x_error_seen()) return after_x_error(state);
        if (!take_new_size(state)) return RunEnd::failed;
        const std::int64_t wait_ms = module_draw(state);
        XFlush(display);
        if (XPending(display) > 0) continue;
        if (wait_for_input({&connection, 1}, wait_ms) < 0 && errno != EINTR) return RunEnd::failed;
    }
    return RunEnd::host;
}

int run_module(const X11Options& options)
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        std::cerr << program << "DISPLAY is not set: there is no X display to draw on\n";
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << program << "cannot open the X display '" << name << "'\n";
        return 2;
    }
    install_x_error_handlers();

    const TargetChoice target = choose_target(display, options, std::getenv("XSCREENSAVER_WINDOW"));
    if (!target.error.empty()) {
        std::cerr << program << target.error << "\n";
        XCloseDisplay(display);
        return 2;
    }
    Started<ModuleState> started = module_init(display, target.window, options);
    if (!started.state) {
        std::cerr << program << started.error << "\n";
        XCloseDisplay(display);
        return 2;
    }
    const RunEnd end = run(*started.state);
    module_free(*started.state);
    started.state.reset();
    XCloseDisplay(display);
    return end == RunEnd::failed ? 1 : 0;
}

} // namespace

} // namespace gm

int main(int argc, char** argv)
{
    using namespace gm;
    return run_program<X11Options>({"glyphmarinae-x11", GLYPH_VERSION, parse_x11_options, x11_usage_text, run_module},
                                   argc, argv);
}
