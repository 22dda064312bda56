#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "engine/scene.h"

namespace gm {

inline constexpr UINT_PTR tick_timer_id = 1;
inline constexpr UINT tick_period_ms = 100;

// The aquarium as the screensaver's one window: one state record, owned by
// the start-up and handed to the window as its creation parameter; init at
// the window's creation, draw at every timer message, event for the input
// that may end the run, free at its destruction.
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
// False for a message left to the default handling, which the state may
// still have noted.
bool module_event(ModuleState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void module_free(ModuleState& state, HWND window);

} // namespace gm
