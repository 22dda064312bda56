#pragma once
#include <windows.h>

#include "host/windows/host_record.h"

namespace gm {

// Draws the whole window from a fresh composition of the scene.
void paint(HostRecord& host, HDC device_context);

} // namespace gm
