#pragma once
#include <pixman.h>
#include <wayland-client.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/wayland/glyph_font.h"
#include "host/wayland/glyph_tiles.h"
#include "render/cell_grid.h"
#include "render/grid_diff.h"

namespace gm {

// Cells of one row, [first, end).
struct RowSpan {
    std::int32_t row = 0;
    std::int32_t first = 0;
    std::int32_t end = 0;
};

// What a stretch being drawn writes of one cell: the lines [top, bottom) of its
// pixels to write, and whether a neighbour's glyph reaches in.
struct CellLines {
    const std::uint32_t* pixels = nullptr;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool reached = false;
};

// One shared-memory buffer, reused frame after frame. It keeps the cells
// that changed on the surface since it was last drawn, so that a buffer that
// comes back from the compositor is brought up to date by drawing only those.
struct ShmBuffer {
    wl_buffer* buffer = nullptr;
    pixman_image_t* image = nullptr;
    void* pixels = nullptr;
    std::size_t size = 0;
    bool held = false; // by the compositor, until it releases it
    std::vector<RowSpan> stale;
    CellGrid drawn;                    // what each cell shows, unless blended
    std::vector<std::uint8_t> blended; // a cell a neighbour's glyph reached into when it was drawn
};

// Draws a grid into the buffers of one surface, sized in buffer pixels.
// A second buffer is made only when the compositor still holds the first.
struct WaylandPainter {
    wl_shm* shm = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    glyph_font_metrics metrics{};
    GlyphTiles tiles;
    std::array<ShmBuffer, 2> buffers;
    CellGrid shown;            // what the surface shows since the last commit
    bool whole_surface = true; // the next damage covers the margins too
    std::vector<RowSpan> changed;      // this frame's, kept to spare their allocations
    std::vector<ColumnSpan> row_spans; // one row's
    std::vector<RowSpan> merged;       // a buffer's next stale cells, while they are merged
};

// False when no font can be opened; the painter is then closed again.
bool open_painter(WaylandPainter& painter, wl_shm* shm, std::int32_t width, std::int32_t height, int font_pixels);
void close_painter(WaylandPainter& painter);

enum class Painted { attached, unchanged, no_buffer, failed };

// Brings a free buffer up to `grid`, attaches it to `surface` and damages
// what changed since the last commit; the caller commits. unchanged when the
// grid is what the surface shows (nothing attached, nothing to commit),
// no_buffer when the compositor holds both, failed when shared memory cannot
// be had.
Painted paint_changes(WaylandPainter& painter, wl_surface* surface, const CellGrid& grid);

} // namespace gm
