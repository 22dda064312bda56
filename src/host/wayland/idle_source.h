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
// A showing begins or ends: GNOME's source watches for the user's return
// meanwhile, since its surfaces may never have the keyboard.
void idle_showing(ModuleState& state);
void idle_hidden(ModuleState& state);
// The session bus of GNOME's source in the loop's poll (fd -1 without it),
// with the wait shortened to the bus's deadline.
pollfd idle_descriptor(ModuleState& state, std::int64_t& wait_ms);
// What the session bus brought: the idle time, the user back, or the bus
// gone, told to the module as the compositor's idle events and input are.
void take_idle_events(ModuleState& state);
void release_idle_source(ModuleState& state);

} // namespace gm
