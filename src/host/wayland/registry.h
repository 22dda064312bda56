#pragma once
#include "host/wayland/module.h"

namespace gm {

// Binds the globals the program knows as the registry announces them, and
// keeps the outputs: each with its scale, each with a view once started.
void watch_registry(ModuleState& state);
// The globals and the outputs; the views and the input go first.
void release_globals(ModuleState& state);

} // namespace gm
