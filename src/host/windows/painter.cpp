#include "host/windows/painter.h"

#include "render/compose.h"
#include "render/runs.h"

namespace gm {

void paint(ModuleState& state, HDC device_context)
{
    Scene& scene = state.scene;
    compose(scene);

    // Everything is drawn off screen and copied in one transfer, so the
    // window never shows a half-drawn frame.
    HDC off_screen = CreateCompatibleDC(device_context);
    HBITMAP bitmap = CreateCompatibleBitmap(device_context, scene.client_width, scene.client_height);
    HGDIOBJ kept_bitmap = SelectObject(off_screen, bitmap);

    const RECT whole = {0, 0, scene.client_width, scene.client_height};
    HBRUSH brush = CreateSolidBrush(0);
    FillRect(off_screen, &whole, brush);
    DeleteObject(brush);

    HGDIOBJ kept_font = SelectObject(off_screen, state.font);
    SetBkMode(off_screen, OPAQUE);
    SetBkColor(off_screen, 0);

    ColourRuns runs;
    for (std::int32_t row = 0; row < scene.grid.rows; ++row) {
        split_runs(scene.grid, row, runs);
        const int y = row * scene.cell_height;
        for (const ColourRun& run : runs) {
            SetTextColor(off_screen, run.colour);
            TextOutA(off_screen, run.column * scene.cell_width, y, run.text.data(), static_cast<int>(run.text.size()));
        }
    }

    SelectObject(off_screen, kept_font);
    BitBlt(device_context, 0, 0, scene.client_width, scene.client_height, off_screen, 0, 0, SRCCOPY);
    SelectObject(off_screen, kept_bitmap);
    DeleteObject(bitmap);
    DeleteDC(off_screen);
}

} // namespace gm
