#include "host/windows/window_procedure.h"


#include "host/common/mouse_rule.h"
#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/window_metrics.h"
#include "host/windows/host_record.h"
#include "host/windows/painter.h"
#include "population/population.h"

namespace gm {

namespace {

constexpr BYTE antialiased_quality = 4;
constexpr BYTE fixed_pitch_modern = 0x31;

void create_scene(HostRecord& host, HWND window)
{
    Scene& scene = host.scene;
    const int font_height = font_height_for(scene.client_height);
    host.font = CreateFontA(-font_height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, antialiased_quality,
                            fixed_pitch_modern, "Consolas");

    HDC dc = GetDC(window);
    HGDIOBJ kept_font = SelectObject(dc, host.font);
    SIZE cell = {0, 0};
    GetTextExtentPoint32A(dc, "W", 1, &cell);
    SelectObject(dc, kept_font);
    ReleaseDC(window, dc);
    scene.cell_width = cell.cx;
    scene.cell_height = cell.cy;

    const GridSize size = grid_size_for(scene.client_width, scene.client_height, scene.cell_width, scene.cell_height);
    const std::uint32_t seed = host.seed.value_or(seconds_seed());
    start_scene(scene, size.columns, size.rows, seed);

    SetTimer(window, tick_timer_id, tick_period_ms, nullptr);
    scene.start_tick = GetTickCount();
}

void end_run(HostRecord& host, HWND window)
{
    host.ending = true;
    DestroyWindow(window);
}

void close_screen(HostRecord& host, HWND window)
{
    if (host.ending) return;
    if (host.exit_event) SetEvent(host.exit_event);
    if (host.owner_window && IsWindow(host.owner_window)) PostMessageA(host.owner_window, WM_CLOSE, 0, 0);
    end_run(host, window);
}

void on_timer(HostRecord& host, HWND window)
{
    // The host ends the run through the event; it already knows, so neither
    // the event nor the owner is told again.
    if (host.exit_event && WaitForSingleObject(host.exit_event, 0) == WAIT_OBJECT_0) {
        end_run(host, window);
        return;
    }
    tick(host.scene);
    InvalidateRect(window, nullptr, FALSE);
}

void on_paint(HostRecord& host, HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(host, dc);
    EndPaint(window, &ps);
}

void on_destroy(HostRecord& host, HWND window)
{
    KillTimer(window, tick_timer_id);
    if (host.font) {
        DeleteObject(host.font);
        host.font = nullptr;
    }
    if (!host.scene.preview) ShowCursor(TRUE);
    PostQuitMessage(0);
}

} // namespace

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    HostRecord& host = host_record();
    switch (message) {
    case WM_CREATE:
        create_scene(host, window);
        return 0;
    case WM_TIMER:
        on_timer(host, window);
        return 0;
    case WM_PAINT:
        on_paint(host, window);
        return 0;
    case WM_DESTROY:
        on_destroy(host, window);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!host.scene.preview) close_screen(host, window);
        return 0;
    case WM_ACTIVATEAPP:
        // Once another program has the foreground, keys would go to it or to
        // the desktop hidden underneath; the run ends as if one had been pressed.
        if (!wparam && !host.scene.preview) close_screen(host, window);
        return 0;
    case WM_CLOSE:
        host.ending = true;
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_MOUSEMOVE: {
        // The position word holds two signed 16-bit coordinates.
        const auto x = static_cast<std::int16_t>(LOWORD(lparam));
        const auto y = static_cast<std::int16_t>(HIWORD(lparam));
        if (mouse_move_closes(host.scene, x, y, GetTickCount())) close_screen(host, window);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

} // namespace gm
