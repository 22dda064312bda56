#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "engine/scene.h"

namespace gm {

// The program's one aquarium together with the window-system handles that
// belong to it. The window procedure has no creation data to carry a pointer,
// so the record lives for the whole run and is reached through host_record().
struct HostRecord {
    Scene scene;
    HWND owner_window = nullptr;
    HANDLE exit_event = nullptr;
    HFONT font = nullptr;
    std::optional<std::uint32_t> seed; // none: the calendar time at creation
    // Set just before the window is destroyed: its destruction deactivates it,
    // and that deactivation must not count as the user ending the run again.
    bool ending = false;
};

HostRecord& host_record();

} // namespace gm
