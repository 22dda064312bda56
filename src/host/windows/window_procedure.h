#pragma once
#include <windows.h>

namespace gm {

inline constexpr UINT_PTR tick_timer_id = 1;
inline constexpr UINT tick_period_ms = 100;

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace gm
