#include <cerrno>
#include <iostream>
#include <poll.h>

#include "host/common/run_program.h"
#include "host/common/signals.h"
#include "host/wayland/idle_source.h"
#include "host/wayland/module.h"
#include "host/wayland/wayland_options.h"

namespace gm {

namespace {

constexpr const char* program_name = "glyphmarinae-wayland";
constexpr const char* program = "glyphmarinae-wayland: ";

// Waits on the connection, never busy: events are handled as they come,
// frames are ticked on the pacer's deadlines and shown when the compositor
// asks for them. A flush the socket cannot take at once waits for the
// connection to be writable too, and the next turn flushes the rest. GNOME's
// idle source adds the session bus to the wait. The stop signals come only
// inside the wait. A compositor that goes away is a failure without words:
// there is nobody left to show anything to.
RunEnd run(ModuleState& state)
{
    wl_display* display = state.display;
    while (!stop_requested()) {
        std::int64_t wait_ms = module_draw(state);
        if (state.end != RunEnd::running) return state.end;
        while (wl_display_prepare_read(display) != 0)
            if (const RunEnd end = module_event(state).end; end != RunEnd::running) return end;
        const bool unflushed = wl_display_flush(display) < 0;
        if (unflushed && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return RunEnd::failed;
        }
        pollfd waits[] = {{wl_display_get_fd(display), static_cast<short>(unflushed ? POLLIN | POLLOUT : POLLIN), 0},
                          idle_descriptor(state, wait_ms)};
        const int ready = wait_for_input(waits, wait_ms);
        if (ready > 0 && (waits[0].revents & ~POLLOUT)) {
            if (wl_display_read_events(display) < 0) return RunEnd::failed;
        } else {
            wl_display_cancel_read(display);
            if (ready < 0 && errno != EINTR) return RunEnd::failed;
        }
        if (const RunEnd end = module_event(state).end; end != RunEnd::running) return end;
    }
    return RunEnd::host;
}

// A protocol error is the program's own fault and worth a line; a
// connection that simply broke is the compositor leaving.
RunEnd run_and_report(ModuleState& state)
{
    const RunEnd end = run(state);
    if (end != RunEnd::failed) return end;
    if (!state.error.empty())
        std::cerr << program << state.error << "\n";
    else if (wl_display_get_error(state.display) == EPROTO)
        std::cerr << program << "the compositor refused a request\n";
    return end;
}

int run_module(const WaylandOptions& options)
{
    return run_started(program_name, module_init(options), 1, run_and_report);
}

} // namespace

} // namespace gm

int main(int argc, char** argv)
{
    using namespace gm;
    return run_program<WaylandOptions>(
        {program_name, GLYPH_VERSION, parse_wayland_options, wayland_usage_text, run_module}, argc, argv);
}
