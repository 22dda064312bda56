#include "host/wayland/painter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "render/grid_diff.h"

namespace gm {

namespace {

constexpr pixman_color_t opaque_black = {0, 0, 0, 0xFFFF};

void on_release(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->held = false; }

const wl_buffer_listener release_listener = {on_release};

bool make_buffer(WaylandPainter& painter, ShmBuffer& buffer)
{
    const std::int32_t stride = painter.width * 4;
    buffer.size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(painter.height);
    const int fd = memfd_create("glyphmarinae-buffer", MFD_CLOEXEC);
    if (fd < 0) return false;
    bool made = false;
    if (ftruncate(fd, static_cast<off_t>(buffer.size)) == 0) {
        void* pixels = mmap(nullptr, buffer.size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (pixels != MAP_FAILED) {
            buffer.pixels = pixels;
            wl_shm_pool* pool = wl_shm_create_pool(painter.shm, fd, static_cast<std::int32_t>(buffer.size));
            buffer.buffer =
                wl_shm_pool_create_buffer(pool, 0, painter.width, painter.height, stride, WL_SHM_FORMAT_XRGB8888);
            wl_shm_pool_destroy(pool);
            wl_buffer_add_listener(buffer.buffer, &release_listener, &buffer);
            buffer.image = pixman_image_create_bits(PIXMAN_x8r8g8b8, painter.width, painter.height,
                                                    static_cast<std::uint32_t*>(pixels), stride);
            made = true;
        }
    }
    close(fd);
    if (!made) return false;
    // Black with its unused byte set as pixman sets it: some compositors'
    // screenshots read that byte as alpha. A grid of empty cells is what
    // the buffer then shows, so the first frame draws only what is there.
    const pixman_box32_t all = {0, 0, painter.width, painter.height};
    pixman_image_fill_boxes(PIXMAN_OP_SRC, buffer.image, &opaque_black, 1, &all);
    buffer.drawn = CellGrid(painter.shown.columns, painter.shown.rows);
    return true;
}

void free_buffer(ShmBuffer& buffer)
{
    if (buffer.image) pixman_image_unref(buffer.image);
    if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
    if (buffer.pixels) munmap(buffer.pixels, buffer.size);
    buffer = ShmBuffer{};
}

pixman_image_t* colour_for(WaylandPainter& painter, Colour colour)
{
    for (const auto& [known, image] : painter.colours)
        if (known == colour) return image;
    // 0x00BBGGRR, widened to pixman's sixteen bits a channel.
    const pixman_color_t wanted = {static_cast<std::uint16_t>((colour & 0xFF) * 257),
                                   static_cast<std::uint16_t>(((colour >> 8) & 0xFF) * 257),
                                   static_cast<std::uint16_t>(((colour >> 16) & 0xFF) * 257), 0xFFFF};
    pixman_image_t* image = pixman_image_create_solid_fill(&wanted);
    painter.colours.emplace_back(colour, image);
    return image;
}

// fcft takes a lock on every lookup: each glyph is asked for once and kept
// in pixman's cache, which then draws a whole run in one call.
const void* glyph_of(WaylandPainter& painter, char character)
{
    const auto index = static_cast<unsigned char>(character);
    std::optional<const void*>& known = painter.glyphs[index];
    if (!known) {
        const glyph_mask mask = glyph_font_mask(painter.font, index);
        // The cache places a glyph by its origin: the pen on the baseline.
        known = mask.image ? pixman_glyph_cache_insert(painter.glyph_cache, painter.font, &painter.glyphs[index],
                                                       -mask.left, mask.top, mask.image)
                           : nullptr;
    }
    return *known;
}

// A buffer's image as a paint plan's backend: a cleared span is the clip of
// the runs drawn over it.
struct ImageBackend {
    WaylandPainter& painter;
    pixman_image_t* target;

    void clear(const PaintSpan& span)
    {
        const glyph_font_metrics& m = painter.metrics;
        const std::int32_t x = span.first * m.cell_width;
        const std::int32_t y = span.row * m.cell_height;
        const std::int32_t width = (span.end - span.first) * m.cell_width;
        pixman_region32_t clip;
        pixman_region32_init_rect(&clip, x, y, static_cast<unsigned>(width), static_cast<unsigned>(m.cell_height));
        pixman_image_set_clip_region32(target, &clip);
        pixman_region32_fini(&clip);
        const pixman_box32_t box = {x, y, x + width, y + m.cell_height};
        pixman_image_fill_boxes(PIXMAN_OP_SRC, target, &opaque_black, 1, &box);
    }

    void draw(const PaintSpan& span, const ColourRun& run)
    {
        const glyph_font_metrics& m = painter.metrics;
        painter.placed.clear();
        for (std::int32_t column = run.column; column < run.end(); ++column) {
            const char character = run.text[static_cast<std::size_t>(column - run.column)];
            if (character == ' ') continue;
            if (const void* glyph = glyph_of(painter, character))
                painter.placed.push_back({column * m.cell_width, span.row * m.cell_height + m.ascent, glyph});
        }
        if (painter.placed.empty()) return;
        pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, colour_for(painter, run.colour), target, 0, 0, 0, 0,
                                        painter.glyph_cache, static_cast<int>(painter.placed.size()),
                                        painter.placed.data());
    }
};

} // namespace

bool open_painter(WaylandPainter& painter, wl_shm* shm, std::int32_t width, std::int32_t height, int font_pixels)
{
    painter.shm = shm;
    painter.width = std::max(width, 1);
    painter.height = std::max(height, 1);
    painter.font = glyph_font_open(font_pixels);
    if (!painter.font) return false;
    painter.metrics = glyph_font_measure(painter.font);
    painter.glyph_cache = pixman_glyph_cache_create();
    painter.glyphs = {};
    painter.shown = CellGrid();
    painter.whole_surface = true;
    return true;
}

void close_painter(WaylandPainter& painter)
{
    for (ShmBuffer& buffer : painter.buffers) free_buffer(buffer);
    for (auto& [colour, image] : painter.colours) pixman_image_unref(image);
    painter.colours.clear();
    if (painter.glyph_cache) pixman_glyph_cache_destroy(painter.glyph_cache);
    painter.glyph_cache = nullptr;
    painter.glyphs = {};
    glyph_font_close(painter.font);
    painter.font = nullptr;
}

namespace {

// A buffer the compositor is not reading: one already made if there is one,
// else the second made now; none while both are held.
ShmBuffer* free_buffer_of(WaylandPainter& painter, Painted& why_none)
{
    for (ShmBuffer& buffer : painter.buffers)
        if (buffer.buffer && !buffer.held) return &buffer;
    auto unmade = std::find_if(painter.buffers.begin(), painter.buffers.end(),
                               [](const ShmBuffer& buffer) { return !buffer.buffer; });
    why_none = Painted::no_buffer;
    if (unmade == painter.buffers.end()) return nullptr;
    if (!make_buffer(painter, *unmade)) {
        free_buffer(*unmade);
        why_none = Painted::failed;
        return nullptr;
    }
    return &*unmade;
}

} // namespace

Painted paint_changes(WaylandPainter& painter, wl_surface* surface, const CellGrid& grid)
{
    if (painter.shown.columns != grid.columns || painter.shown.rows != grid.rows) {
        // The grid's size is fixed for a painter's life; this is its first frame.
        painter.shown = CellGrid(grid.columns, grid.rows);
        painter.whole_surface = true;
    }
    Painted why_none = Painted::no_buffer;
    ShmBuffer* free_one = free_buffer_of(painter, why_none);
    if (!free_one) return why_none;

    const glyph_font_metrics& m = painter.metrics;
    // Frozen, nothing is evicted while glyphs are looked up and drawn; the
    // cache holds far more than the 256 characters a grid can show.
    pixman_glyph_cache_freeze(painter.glyph_cache);
    painter.plan.make(free_one->drawn, grid);
    ImageBackend backend{painter, free_one->image};
    paint(painter.plan, backend);
    pixman_image_set_clip_region32(free_one->image, nullptr);
    for (std::int32_t row = 0; row < grid.rows && !painter.whole_surface; ++row) {
        // One rectangle a row: the compositor merges damage anyway, and each
        // is a request on the wire.
        const ColumnSpan seen = changed_columns(painter.shown, grid, row);
        if (!seen.empty())
            wl_surface_damage_buffer(surface, seen.first * m.cell_width, row * m.cell_height,
                                     (seen.end - seen.first) * m.cell_width, m.cell_height);
    }
    pixman_glyph_cache_thaw(painter.glyph_cache);
    if (painter.whole_surface) wl_surface_damage_buffer(surface, 0, 0, painter.width, painter.height);
    painter.whole_surface = false;
    free_one->drawn = grid;
    painter.shown = grid;
    free_one->held = true;
    wl_surface_attach(surface, free_one->buffer, 0, 0);
    return Painted::attached;
}

} // namespace gm
