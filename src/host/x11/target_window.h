#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/x11/x11_options.h"

namespace gm {

// Where the aquarium draws, by the conventions of X11 screensaver modules:
// an explicit --window-id, else the daemon's $XSCREENSAVER_WINDOW, else the
// (virtual) root with --root, else a window of its own (`window` is None).
struct TargetChoice {
    Window window = None;
    std::string error; // a value that is no window id: one line for stderr
};

TargetChoice choose_target(Display* display, const X11Options& options, const char* screensaver_window);

// The window a desktop draws its background into: the child of the root
// that carries __SWM_VROOT, or the root itself.
Window virtual_root(Display* display);

} // namespace gm
