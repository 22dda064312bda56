#include <X11/Xlib.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <poll.h>
#include <string>
#include <vector>

#include "host/common/signals.h"
#include "host/x11/module.h"
#include "host/x11/target_window.h"
#include "host/x11/x11_options.h"
#include "host/x11/x_errors.h"

namespace gm {

namespace {

constexpr const char* program = "glyphmarinae-x11: ";

enum class End { stopped, failed };

// Drawing into a window that its owner has just destroyed fails before the
// DestroyNotify arrives: that is the owner's way to end.
End after_x_error(ModuleState& state)
{
    const XErrorSeen error = take_x_error(state.display);
    if (error.resource == state.window && (error.error_code == BadWindow || error.error_code == BadDrawable))
        return End::stopped;
    char text[128] = {};
    XGetErrorText(state.display, error.error_code, text, sizeof text);
    std::cerr << program << "the X server refused a request: " << text << "\n";
    return End::failed;
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

// Waits on the connection with poll, never busy: events are handled as they
// come, and a frame is drawn whenever its deadline has passed.
End run(ModuleState& state)
{
    Display* display = state.display;
    const int connection = ConnectionNumber(display);
    while (!stop_requested()) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (module_event(state, event)) return End::stopped;
        }
        if (x_error_seen()) return after_x_error(state);
        if (!take_new_size(state)) return End::failed;
        const std::int64_t wait_ms = module_draw(state);
        XFlush(display);
        if (XPending(display) > 0) continue;
        pollfd input = {connection, POLLIN, 0};
        const int ready = poll(&input, 1, static_cast<int>(wait_ms));
        if (ready < 0 && errno != EINTR) return End::failed;
    }
    return End::stopped;
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
    catch_stop_signals();

    const TargetChoice target = choose_target(display, options, std::getenv("XSCREENSAVER_WINDOW"));
    if (!target.error.empty()) {
        std::cerr << program << target.error << "\n";
        XCloseDisplay(display);
        return 2;
    }
    ModuleStart started = module_init(display, target.window, options);
    if (!started.state) {
        std::cerr << program << started.error << "\n";
        XCloseDisplay(display);
        return 2;
    }
    const End end = run(*started.state);
    module_free(*started.state);
    started.state.reset();
    XCloseDisplay(display);
    return end == End::stopped ? 0 : 1;
}

} // namespace

} // namespace gm

int main(int argc, char** argv)
{
    using namespace gm;
    const X11ParseResult parsed = parse_x11_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << program << parsed.error << "\n";
        return 2;
    }
    switch (parsed.options.mode) {
    case X11Mode::help: std::cout << x11_usage_text(); return 0;
    case X11Mode::version: std::cout << "glyphmarinae-x11 " GLYPH_VERSION "\n"; return 0;
    case X11Mode::aquarium: break;
    }
    return run_module(parsed.options);
}
