#pragma once
#include <pixman.h>
#include <wayland-client.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "host/wayland/glyph_font.h"
#include "render/cell_grid.h"
#include "render/grid_diff.h"
#include "render/paint_plan.h"

namespace gm {

// One shared-memory buffer, reused frame after frame. It remembers what it
// shows, so that a buffer that comes back from the compositor is brought up
// to date by drawing only the cells that changed while it was away.
struct ShmBuffer {
    wl_buffer* buffer = nullptr;
    pixman_image_t* image = nullptr;
    void* pixels = nullptr;
    std::size_t size = 0;
    bool held = false; // by the compositor, until it releases it
    CellGrid drawn;
};

// Draws a grid into the buffers of one surface, sized in buffer pixels.
// A second buffer is made only when the compositor still holds the first.
struct WaylandPainter {
    wl_shm* shm = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    glyph_font* font = nullptr;
    glyph_font_metrics metrics{};
    pixman_glyph_cache_t* glyph_cache = nullptr;
    std::array<std::optional<const void*>, 256> glyphs; // the cache's entries, on first use
    std::vector<pixman_glyph_t> placed; // one run's glyphs, kept to spare an allocation
    std::array<ShmBuffer, 2> buffers;
    CellGrid shown;         // what the surface shows since the last commit
    bool whole_surface = true; // the next damage covers the margins too
    std::vector<std::pair<Colour, pixman_image_t*>> colours; // made on first use
    PaintPlan plan; // kept to spare its allocations every frame
};

// False when no font can be opened; the painter is then closed again.
bool open_painter(WaylandPainter& painter, wl_shm* shm, std::int32_t width, std::int32_t height, int font_pixels);
void close_painter(WaylandPainter& painter);

enum class Painted { attached, no_buffer, failed };

// Brings a free buffer up to `grid`, attaches it to `surface` and damages
// what changed since the last commit; the caller commits. no_buffer when the
// compositor holds both, failed when shared memory cannot be had.
Painted paint_changes(WaylandPainter& painter, wl_surface* surface, const CellGrid& grid);

} // namespace gm
