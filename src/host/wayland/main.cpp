#include <cerrno>
#include <iostream>
#include <poll.h>
#include <string>
#include <vector>

#include "host/common/signals.h"
#include "host/wayland/module.h"
#include "host/wayland/wayland_options.h"

namespace gm {

namespace {

constexpr const char* program = "glyphmarinae-wayland: ";

// Waits on the connection with poll, never busy: events are handled as they
// come, frames are ticked on the pacer's deadlines and shown when the
// compositor asks for them. A flush the socket cannot take at once waits
// for it to be writable, and the next turn flushes the rest. A compositor
// that goes away is a failure without words: there is nobody left to show
// anything to.
RunEnd run(ModuleState& state)
{
    wl_display* display = state.display;
    while (!stop_requested()) {
        const int wait = module_draw(state);
        if (state.end != RunEnd::running) return state.end;
        while (wl_display_prepare_read(display) != 0)
            if (module_event(state) != RunEnd::running) return state.end;
        const bool unflushed = wl_display_flush(display) < 0;
        if (unflushed && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return RunEnd::failed;
        }
        pollfd connection = {wl_display_get_fd(display), static_cast<short>(unflushed ? POLLIN | POLLOUT : POLLIN), 0};
        const int ready = poll(&connection, 1, wait);
        if (ready > 0 && (connection.revents & ~POLLOUT)) {
            if (wl_display_read_events(display) < 0) return RunEnd::failed;
        } else {
            wl_display_cancel_read(display);
            if (ready < 0 && errno != EINTR) return RunEnd::failed;
        }
        if (module_event(state) != RunEnd::running) return state.end;
    }
    return RunEnd::stopped;
}

int run_module(const WaylandOptions& options)
{
    catch_stop_signals();
    ModuleStart made = module_init(options);
    if (!made.state) {
        std::cerr << program << made.error << "\n";
        return 1;
    }
    if (!made.notice.empty()) std::cerr << program << made.notice << "\n";
    ModuleState& state = *made.state;
    const RunEnd end = run(state);
    // A protocol error is the program's own fault and worth a line; a
    // connection that simply broke is the compositor leaving.
    const int protocol_error = wl_display_get_error(state.display);
    if (end == RunEnd::failed && !state.error.empty()) std::cerr << program << state.error << "\n";
    else if (end == RunEnd::failed && protocol_error == EPROTO)
        std::cerr << program << "the compositor refused a request\n";
    module_free(state);
    return end == RunEnd::failed ? 1 : 0;
}

} // namespace

} // namespace gm

int main(int argc, char** argv)
{
    using namespace gm;
    const WaylandParseResult parsed = parse_wayland_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << program << parsed.error << "\n";
        return 2;
    }
    switch (parsed.options.mode) {
    case WaylandMode::help: std::cout << wayland_usage_text(); return 0;
    case WaylandMode::version: std::cout << "glyphmarinae-wayland " GLYPH_VERSION "\n"; return 0;
    case WaylandMode::aquarium: break;
    }
    return run_module(parsed.options);
}
