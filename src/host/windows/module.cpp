#include "host/windows/module.h"

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/mouse_rule.h"
#include "host/common/window_metrics.h"
#include "host/common/window_scene.h"

namespace gm {

namespace {

constexpr BYTE antialiased_quality = 4;
constexpr BYTE fixed_pitch_modern = 0x31;

PixelSize measure_cell(const ModuleState& state, HWND window)
{
    HDC dc = GetDC(window);
    HGDIOBJ kept_font = SelectObject(dc, state.font);
    SIZE cell = {0, 0};
    GetTextExtentPoint32A(dc, "W", 1, &cell);
    SelectObject(dc, kept_font);
    ReleaseDC(window, dc);
    return {cell.cx, cell.cy};
}

} // namespace

void module_init(ModuleState& state, HWND window)
{
    Scene& scene = state.scene;
    const int font_height = font_height_for(scene.client_height);
    state.font = CreateFontA(-font_height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, antialiased_quality,
                             fixed_pitch_modern, "Consolas");
    start_window_scene(scene, {scene.client_width, scene.client_height}, measure_cell(state, window),
                       state.seed.value_or(seconds_seed()));

    SetTimer(window, tick_timer_id, tick_period_ms, nullptr);
    scene.start_tick = GetTickCount();
}

void module_draw(ModuleState& state, HWND window)
{
    // The host ends the run through the event; it already knows, so neither
    // the event nor the owner is told again.
    if (state.exit_event && WaitForSingleObject(state.exit_event, 0) == WAIT_OBJECT_0) {
        end_run(state, window, {true, RunEnd::host});
        return;
    }
    tick(state.scene);
    InvalidateRect(window, nullptr, FALSE);
}

EventResult module_event(ModuleState& state, UINT message, WPARAM wparam, LPARAM lparam)
{
    const bool input_counts = !state.scene.preview;
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        return handled_ending_if(input_counts, RunEnd::user);
    case WM_ACTIVATEAPP:
        // Once another program has the foreground, keys would go to it or to
        // the desktop hidden underneath; the run ends as if one had been pressed.
        return handled_ending_if(!wparam && input_counts, RunEnd::user);
    case WM_CLOSE:
        return {false, RunEnd::host};
    case WM_MOUSEMOVE: {
        // The position word holds two signed 16-bit coordinates.
        const auto x = static_cast<std::int16_t>(LOWORD(lparam));
        const auto y = static_cast<std::int16_t>(HIWORD(lparam));
        return handled_ending_if(mouse_move_closes(state.scene, x, y, GetTickCount()), RunEnd::user);
    }
    default:
        return {};
    }
}

void end_run(ModuleState& state, HWND window, EventResult result)
{
    // The window's destruction deactivates it: that must not end the run twice.
    if (result.end == RunEnd::running || state.ending) return;
    state.ending = true;
    if (result.end == RunEnd::user) {
        if (state.exit_event) SetEvent(state.exit_event);
        if (state.owner_window && IsWindow(state.owner_window)) PostMessageA(state.owner_window, WM_CLOSE, 0, 0);
    }
    if (result.handled) DestroyWindow(window);
}

void module_free(ModuleState& state, HWND window)
{
    KillTimer(window, tick_timer_id);
    if (state.font) {
        DeleteObject(state.font);
        state.font = nullptr;
    }
    if (!state.scene.preview) ShowCursor(TRUE);
    PostQuitMessage(0);
}

} // namespace gm
