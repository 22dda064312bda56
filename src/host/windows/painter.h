#pragma once
#include <windows.h>

#include "host/windows/module.h"

namespace gm {

// Draws the whole window from a fresh composition of the scene.
void paint(ModuleState& state, HDC device_context);

} // namespace gm
