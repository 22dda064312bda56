#pragma once
#include "host/wayland/module.h"

namespace gm {

// The seat's keyboard and pointer, taken and given back as the seat's
// capabilities come and go; a key, a left or right click, or a movement
// past the mouse rule ends the run.
void watch_seat(ModuleState& state, wl_seat* seat);
void release_input(ModuleState& state);
// Hides the pointer again over the view it is in: sway puts its own cursor
// back when an output is plugged in, with no new enter to answer.
void hide_pointer(ModuleState& state);

} // namespace gm
