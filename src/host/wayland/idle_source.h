#pragma once
#include "host/wayland/module.h"

namespace gm {

// Binds the idle protocols' globals as the registry announces them; false
// for any other global.
bool bind_idle_global(ModuleState& state, wl_registry* registry, std::uint32_t name, const char* interface);
// Asks the first protocol the compositor offers for a timer on the seat:
// each time the seat has been idle for `seconds`, the watch falls due.
// Why it cannot, or "".
std::string start_idle_timer(ModuleState& state, int seconds);
void release_idle_source(ModuleState& state);

} // namespace gm
