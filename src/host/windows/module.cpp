#include "host/windows/module.h"

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/mouse_rule.h"
#include "host/common/window_metrics.h"
#include "population/population.h"

namespace gm {

namespace {

constexpr BYTE antialiased_quality = 4;
constexpr BYTE fixed_pitch_modern = 0x31;

void measure_cell(ModuleState& state, HWND window)
{
    HDC dc = GetDC(window);
    HGDIOBJ kept_font = SelectObject(dc, state.font);
    SIZE cell = {0, 0};
    GetTextExtentPoint32A(dc, "W", 1, &cell);
    SelectObject(dc, kept_font);
    ReleaseDC(window, dc);
    state.scene.cell_width = cell.cx;
    state.scene.cell_height = cell.cy;
}

void end_run(ModuleState& state, HWND window)
{
    state.ending = true;
    DestroyWindow(window);
}

void close_screen(ModuleState& state, HWND window)
{
    if (state.ending) return;
    if (state.exit_event) SetEvent(state.exit_event);
    if (state.owner_window && IsWindow(state.owner_window)) PostMessageA(state.owner_window, WM_CLOSE, 0, 0);
    end_run(state, window);
}

} // namespace

void module_init(ModuleState& state, HWND window)
{
    Scene& scene = state.scene;
    const int font_height = font_height_for(scene.client_height);
    state.font = CreateFontA(-font_height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, antialiased_quality,
                             fixed_pitch_modern, "Consolas");
    measure_cell(state, window);

    const GridSize size = grid_size_for(scene.client_width, scene.client_height, scene.cell_width, scene.cell_height);
    start_scene(scene, size.columns, size.rows, state.seed.value_or(seconds_seed()));

    SetTimer(window, tick_timer_id, tick_period_ms, nullptr);
    scene.start_tick = GetTickCount();
}

void module_draw(ModuleState& state, HWND window)
{
    // The host ends the run through the event; it already knows, so neither
    // the event nor the owner is told again.
    if (state.exit_event && WaitForSingleObject(state.exit_event, 0) == WAIT_OBJECT_0) {
        end_run(state, window);
        return;
    }
    tick(state.scene);
    InvalidateRect(window, nullptr, FALSE);
}

bool module_event(ModuleState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!state.scene.preview) close_screen(state, window);
        return true;
    case WM_ACTIVATEAPP:
        // Once another program has the foreground, keys would go to it or to
        // the desktop hidden underneath; the run ends as if one had been pressed.
        if (!wparam && !state.scene.preview) close_screen(state, window);
        return true;
    case WM_CLOSE:
        state.ending = true;
        return false;
    case WM_MOUSEMOVE: {
        // The position word holds two signed 16-bit coordinates.
        const auto x = static_cast<std::int16_t>(LOWORD(lparam));
        const auto y = static_cast<std::int16_t>(HIWORD(lparam));
        if (mouse_move_closes(state.scene, x, y, GetTickCount())) close_screen(state, window);
        return true;
    }
    default:
        return false;
    }
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
