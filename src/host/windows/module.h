#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "engine/scene.h"
#include "host/common/host_contract.h"

namespace gm {

inline constexpr UINT_PTR tick_timer_id = 1;
inline constexpr UINT tick_period_ms = 100;

// The aquarium as the screensaver's one window, in the hosts' shape
// (host/common/host_contract.h): one state record, owned by the start-up and
// handed to the window as its creation parameter; init at the window's
// creation, draw at every timer message, event for the other messages, free
// at its destruction.
struct ModuleState {
    Scene scene;
    HWND owner_window = nullptr;
    HANDLE exit_event = nullptr;
    HFONT font = nullptr;
    std::optional<std::uint32_t> seed; // none: the calendar time at creation
    // Set just before the window is destroyed: its destruction deactivates it,
    // and that deactivation must not count as the user ending the run again.
    bool ending = false;
};

void module_init(ModuleState& state, HWND window);
// Ends the run instead when the host has signalled the exit event.
void module_draw(ModuleState& state, HWND window);
// A message left unhandled goes to the default handling, which the state
// may still have noted.
EventResult module_event(ModuleState& state, UINT message, WPARAM wparam, LPARAM lparam);
// Ends the run as `result` says, once. Only the user's end is told to the
// exit event and the owner: the others know of it already. A message left
// to the default handling ends the run there (a close request destroys the
// window).
void end_run(ModuleState& state, HWND window, EventResult result);
void module_free(ModuleState& state, HWND window);

} // namespace gm
