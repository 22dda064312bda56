#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

#include "engine/scene.h"
#include "host/common/host_contract.h"
#include "host/common/pacing.h"
#include "host/x11/painter.h"
#include "host/x11/x11_options.h"

namespace gm {

// The aquarium as an X11 screensaver module, in the hosts' shape
// (host/common/host_contract.h).
struct ModuleState {
    Display* display = nullptr;
    Window window = None;
    bool own_window = false; // only then is input read and the window closed
    Atom protocols = None; // WM_PROTOCOLS, the type of the window manager's requests
    Atom delete_window = None;
    std::uint32_t seed = 0;
    std::optional<int> font_size;
    Scene scene;
    X11Painter painter;
    Pacer pacer;
    std::int32_t pending_width = 0; // a new size seen in the events, 0 for none
    std::int32_t pending_height = 0;
};

// `window` None makes a window of the module's own. A window that names
// nothing is refused here, before anything is drawn.
Started<ModuleState> module_init(Display* display, Window window, const X11Options& options);
// Ticks and paints when a frame is due; the milliseconds until the next.
std::int64_t module_draw(ModuleState& state);
// Restarts the scene at the window's new size with the same seed.
bool module_reshape(ModuleState& state, std::int32_t width, std::int32_t height);
EventResult module_event(ModuleState& state, const XEvent& event);
void module_free(ModuleState& state);

} // namespace gm
