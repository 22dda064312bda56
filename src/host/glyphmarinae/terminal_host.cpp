#include "host/glyphmarinae/terminal_host.h"

#include <cerrno>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "host/common/signals.h"
#include "host/glyphmarinae/terminal_module.h"
#include "host/glyphmarinae/terminal_signals.h"
#include "host/glyphmarinae/terminfo.h"

namespace gm {

namespace {

// Waits on the terminal, never busy: input is handled as it comes, and a
// frame is drawn whenever its deadline has passed.
int run(TerminalState& state)
{
    while (!stop_requested()) {
        const std::int64_t wait_ms = terminal_draw(state);
        pollfd input = {STDIN_FILENO, POLLIN, 0};
        const int ready = wait_for_input({&input, 1}, wait_ms);
        if (ready < 0 && errno != EINTR) return 1;
        if (stop_requested()) break;
        if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL))) return 0;
        if (terminal_event(state, ready != 0).end != RunEnd::running) return 0;
    }
    return 0;
}

} // namespace

int run_terminal(const Options& options)
{
    if (isatty(STDOUT_FILENO) != 1 || isatty(STDIN_FILENO) != 1) {
        std::cerr << "glyphmarinae: the aquarium needs a terminal; use --dump to print a scene instead\n";
        return 2;
    }
    if (const std::string refusal = terminal_refusal(STDOUT_FILENO); !refusal.empty()) {
        std::cerr << "glyphmarinae: " << refusal << "\n";
        return 2;
    }
    catch_signals();
    int status = 1;
    Started<TerminalState> started = terminal_init(options);
    if (started.state) {
        status = run(*started.state);
        terminal_free(std::move(started.state));
    } else {
        std::cerr << "glyphmarinae: " << started.error << "\n";
    }
    // With the terminal restored, the signal that stopped the run ends the
    // process as it would have without us, so a shell sees an interrupted run.
    release_held_signals();
    if (const int signal = stop_signal()) end_by(signal);
    return status;
}

} // namespace gm
