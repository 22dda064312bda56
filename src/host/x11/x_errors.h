#pragma once
#include <X11/Xlib.h>

namespace gm {

// Xlib reports protocol errors and a lost connection through process-wide
// handlers without a user pointer, so what they saw is kept here.
//
// A protocol error is remembered (the first since the last take) rather than
// ending the program, so that the caller can tell a window that names nothing
// from any other failure. A lost server ends the process at once with status
// 1, quietly: there is nothing left to release or to tell.
void install_x_error_handlers();

struct XErrorSeen {
    bool any = false;
    unsigned char error_code = 0;
    XID resource = 0;
};

// Flushes and waits for every request sent so far, then returns (and
// forgets) the first error they caused.
XErrorSeen take_x_error(Display* display);

// Whether an error has come in with the events read so far; no round trip.
bool x_error_seen();

} // namespace gm
