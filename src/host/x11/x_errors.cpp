#include "host/x11/x_errors.h"

#include <csignal>
#include <unistd.h>

namespace gm {

namespace {

XErrorSeen first_error;

int on_protocol_error(Display*, XErrorEvent* event)
{
    if (!first_error.any) first_error = {true, event->error_code, event->resourceid};
    return 0;
}

// Xlib gives up on the connection after this returns, so the process ends
// here, saying why in one line; write() is all that is safe to call.
int on_lost_server(Display*)
{
    constexpr char why[] = "glyphmarinae-x11: the X server went away\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, why, sizeof why - 1);
    _exit(1);
}

} // namespace

void install_x_error_handlers()
{
    // A write to a server that has gone must come back as an error that
    // Xlib sees, not as a signal that kills the process.
    std::signal(SIGPIPE, SIG_IGN);
    XSetErrorHandler(on_protocol_error);
    XSetIOErrorHandler(on_lost_server);
}

XErrorSeen take_x_error(Display* display)
{
    XSync(display, False);
    const XErrorSeen seen = first_error;
    first_error = {};
    return seen;
}

bool x_error_seen() { return first_error.any; }

} // namespace gm
