#pragma once
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "render/cell_grid.h"
#include "render/paint_plan.h"

namespace gm {

// Draws the grid into an off-screen pixmap of the window's size and copies
// it to the window in one transfer. Only the cells that changed since the
// last frame are drawn again, so the cost follows the change, not the screen.
struct X11Painter {
    Display* display = nullptr;
    Window window = None;
    Visual* visual = nullptr;
    Colormap colormap = None;
    std::int32_t width = 0;
    std::int32_t height = 0;

    XftFont* font = nullptr;
    std::int32_t cell_width = 0;
    std::int32_t cell_height = 0;

    Pixmap pixmap = None;
    GC gc = nullptr;
    XftDraw* draw = nullptr;
    std::vector<std::pair<Colour, XftColor>> colours; // allocated on first use
    CellGrid drawn;            // what the pixmap shows
    bool whole_window = true;  // the next copy covers the margins too
    PaintPlan plan;            // kept to spare its allocations every frame
};

// The window's own visual, colour map and depth: the pixmap and the text are
// made to match whichever window the aquarium was given. False when no font
// at all can be opened; the painter is then closed again.
bool open_painter(X11Painter& painter, Display* display, Window window, const XWindowAttributes& attributes,
                  int font_pixels);
void close_painter(X11Painter& painter);

void paint_changes(X11Painter& painter, const CellGrid& grid);
// Shows an area again from the pixmap, as after an Expose event.
void show_area(X11Painter& painter, int x, int y, int width, int height);

} // namespace gm
