#include "host/wayland/painter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace gm {

namespace {

// Opaque black with its unused byte set as pixman sets it for a solid
// fill: some compositors' screenshots read that byte as alpha.
constexpr std::uint32_t black_pixel = 0xFF000000;

void on_release(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->held = false; }

const wl_buffer_listener release_listener = {.release = on_release};

void fill_black(WaylandPainter& painter, ShmBuffer& buffer, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height)
{
    pixman_fill(static_cast<std::uint32_t*>(buffer.pixels), painter.width, 32, x, y, width, height, black_pixel);
}

// Appends the cells of `row` that differ between the grids, each stretch
// widened by a cell where its edge's glyph, before or after, reaches into
// the neighbour: that neighbour's pixels change with it.
void collect_row(WaylandPainter& painter, const CellGrid& before, const CellGrid& after, std::int32_t row,
                 std::vector<RowSpan>& spans)
{
    painter.row_spans.clear();
    changed_spans(before, after, row, 1, painter.row_spans);
    const Cell* old_cells = before.row(row);
    const Cell* new_cells = after.row(row);
    const auto reach = [&](std::int32_t column) {
        return static_cast<std::uint8_t>(reach_of(painter.tiles, old_cells[column]) |
                                         reach_of(painter.tiles, new_cells[column]));
    };
    for (const ColumnSpan span : painter.row_spans) {
        RowSpan widened{row, span.first, span.end};
        if (widened.first > 0 && (reach(span.first) & reach_left)) --widened.first;
        if (widened.end < after.columns && (reach(span.end - 1) & reach_right)) ++widened.end;
        spans.push_back(widened);
    }
}

void collect_changes(WaylandPainter& painter, const CellGrid& before, const CellGrid& after,
                     std::vector<RowSpan>& spans)
{
    for (std::int32_t row = 0; row < after.rows; ++row) collect_row(painter, before, after, row, spans);
}

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
    // All black is the picture of a grid of empty cells: the buffer lacks
    // only what the surface shows beside them.
    fill_black(painter, buffer, 0, 0, painter.width, painter.height);
    collect_changes(painter, CellGrid(painter.shown.columns, painter.shown.rows), painter.shown, buffer.stale);
    return true;
}

void free_buffer(ShmBuffer& buffer)
{
    if (buffer.image) pixman_image_unref(buffer.image);
    if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
    if (buffer.pixels) munmap(buffer.pixels, buffer.size);
    buffer = ShmBuffer{};
}

// A buffer the compositor is not reading, or why there is none.
struct FreeBuffer {
    ShmBuffer* buffer = nullptr;
    Painted why_none = Painted::no_buffer;
};

// One already made if there is one, else the second made now; none while
// both are held.
FreeBuffer free_buffer_of(WaylandPainter& painter)
{
    for (ShmBuffer& buffer : painter.buffers)
        if (buffer.buffer && !buffer.held) return {&buffer};
    auto unmade = std::find_if(painter.buffers.begin(), painter.buffers.end(),
                               [](const ShmBuffer& buffer) { return !buffer.buffer; });
    if (unmade == painter.buffers.end()) return {};
    if (!make_buffer(painter, *unmade)) {
        free_buffer(*unmade);
        return {nullptr, Painted::failed};
    }
    return {&*unmade};
}

void copy_tile(pixman_image_t* tile, pixman_image_t* target, std::int32_t x, std::int32_t y)
{
    const int width = pixman_image_get_width(tile);
    const int height = pixman_image_get_height(tile);
    if (!pixman_blt(pixman_image_get_data(tile), pixman_image_get_data(target), pixman_image_get_stride(tile) / 4,
                    pixman_image_get_stride(target) / 4, 32, 32, 0, 0, x, y, width, height))
        pixman_image_composite32(PIXMAN_OP_SRC, tile, nullptr, target, 0, 0, 0, 0, x, y, width, height);
}

// Whether a neighbour's glyph reaches into the cell, which then cannot be
// a tile.
bool reached(GlyphTiles& tiles, const CellGrid& grid, const Cell* cells, std::int32_t column)
{
    return (column > 0 && (reach_of(tiles, cells[column - 1]) & reach_right)) ||
           (column + 1 < grid.columns && (reach_of(tiles, cells[column + 1]) & reach_left));
}

// Clears the cells to black and draws each over it: a tile where no
// neighbour reaches in, else the reached stretch blended glyph by glyph.
void draw_cells(WaylandPainter& painter, ShmBuffer& buffer, const CellGrid& grid, const RowSpan& span)
{
    GlyphTiles& tiles = painter.tiles;
    const glyph_font_metrics& m = painter.metrics;
    const std::int32_t y = span.row * m.cell_height;
    fill_black(painter, buffer, span.first * m.cell_width, y, (span.end - span.first) * m.cell_width, m.cell_height);
    const Cell* cells = grid.row(span.row);
    for (std::int32_t column = span.first; column < span.end;) {
        if (reached(tiles, grid, cells, column)) {
            std::int32_t end = column + 1;
            while (end < span.end && reached(tiles, grid, cells, end)) ++end;
            blend_cells(tiles, buffer.image, grid, span.row, column, end);
            column = end;
            continue;
        }
        if (!blank(cells[column]))
            if (pixman_image_t* tile = tile_of(tiles, cells[column]))
                copy_tile(tile, buffer.image, column * m.cell_width, y);
        ++column;
    }
}

// Draws every cell the buffer lacks, each once however many frames it
// missed.
void bring_up_to_date(WaylandPainter& painter, ShmBuffer& buffer, const CellGrid& grid)
{
    std::vector<RowSpan>& stale = buffer.stale;
    const auto earlier = [](const RowSpan& a, const RowSpan& b) {
        return a.row != b.row ? a.row < b.row : a.first < b.first;
    };
    if (!std::is_sorted(stale.begin(), stale.end(), earlier)) std::sort(stale.begin(), stale.end(), earlier);
    for (std::size_t i = 0; i < stale.size();) {
        RowSpan joined = stale[i];
        for (++i; i < stale.size() && stale[i].row == joined.row && stale[i].first <= joined.end; ++i)
            joined.end = std::max(joined.end, stale[i].end);
        draw_cells(painter, buffer, grid, joined);
    }
    stale.clear();
}

// One rectangle a row: the compositor merges damage anyway, and each is a
// request on the wire.
void damage_changes(const WaylandPainter& painter, wl_surface* surface)
{
    const glyph_font_metrics& m = painter.metrics;
    for (std::size_t i = 0; i < painter.changed.size();) {
        const std::int32_t row = painter.changed[i].row;
        std::int32_t first = painter.changed[i].first;
        std::int32_t end = painter.changed[i].end;
        for (++i; i < painter.changed.size() && painter.changed[i].row == row; ++i) {
            first = std::min(first, painter.changed[i].first);
            end = std::max(end, painter.changed[i].end);
        }
        wl_surface_damage_buffer(surface, first * m.cell_width, row * m.cell_height, (end - first) * m.cell_width,
                                 m.cell_height);
    }
}

} // namespace

bool open_painter(WaylandPainter& painter, wl_shm* shm, std::int32_t width, std::int32_t height, int font_pixels)
{
    painter.shm = shm;
    painter.width = std::max(width, 1);
    painter.height = std::max(height, 1);
    if (!open_tiles(painter.tiles, font_pixels)) return false;
    painter.metrics = painter.tiles.metrics;
    painter.shown = CellGrid();
    painter.whole_surface = true;
    return true;
}

void close_painter(WaylandPainter& painter)
{
    for (ShmBuffer& buffer : painter.buffers) free_buffer(buffer);
    close_tiles(painter.tiles);
}

Painted paint_changes(WaylandPainter& painter, wl_surface* surface, const CellGrid& grid)
{
    if (painter.shown.columns != grid.columns || painter.shown.rows != grid.rows) {
        // The grid's size is fixed for a painter's life; this is its first frame.
        painter.shown = CellGrid(grid.columns, grid.rows);
        painter.whole_surface = true;
    }
    // The one comparison of the frame: against what the surface shows.
    painter.changed.clear();
    collect_changes(painter, painter.shown, grid, painter.changed);
    if (painter.changed.empty() && !painter.whole_surface) return Painted::unchanged;
    const FreeBuffer found = free_buffer_of(painter);
    if (!found.buffer) return found.why_none;

    for (ShmBuffer& buffer : painter.buffers)
        if (buffer.buffer) buffer.stale.insert(buffer.stale.end(), painter.changed.begin(), painter.changed.end());
    bring_up_to_date(painter, *found.buffer, grid);
    if (painter.whole_surface)
        wl_surface_damage_buffer(surface, 0, 0, painter.width, painter.height);
    else
        damage_changes(painter, surface);
    painter.whole_surface = false;
    for (const RowSpan& span : painter.changed) {
        const Cell* from = grid.row(span.row);
        std::copy(from + span.first, from + span.end, &painter.shown.at(span.first, span.row));
    }
    found.buffer->held = true;
    wl_surface_attach(surface, found.buffer->buffer, 0, 0);
    return Painted::attached;
}

} // namespace gm
