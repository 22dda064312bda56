#pragma once
#include <windows.h>

namespace gm {

// Serves a window created with a ModuleState* as its creation parameter.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace gm
