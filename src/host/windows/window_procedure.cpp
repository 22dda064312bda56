#include "host/windows/window_procedure.h"

#include "host/windows/module.h"
#include "host/windows/painter.h"

namespace gm {

namespace {

// The record arrives with the first message that carries the creation
// structure; the few messages before it have no record to act on.
ModuleState* state_of(HWND window, UINT message, LPARAM lparam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    return reinterpret_cast<ModuleState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void paint_window(ModuleState& state, HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(state, dc);
    EndPaint(window, &ps);
}

} // namespace

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    ModuleState* state = state_of(window, message, lparam);
    if (!state) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_CREATE:
        module_init(*state, window);
        return 0;
    case WM_TIMER:
        module_draw(*state, window);
        return 0;
    case WM_PAINT:
        paint_window(*state, window);
        return 0;
    case WM_DESTROY:
        module_free(*state, window);
        return 0;
    default: {
        const EventResult result = module_event(*state, message, wparam, lparam);
        end_run(*state, window, result);
        return result.handled ? 0 : DefWindowProcA(window, message, wparam, lparam);
    }
    }
}

} // namespace gm
