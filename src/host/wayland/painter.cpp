#include "host/wayland/painter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

namespace gm {

namespace {

void on_release(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->held = false; }

const wl_buffer_listener release_listener = {.release = on_release};

// pixman's fill and copy cost more to set up than the few hundred bytes of
// a cell take to write, so cells are written row by row here.
std::uint32_t* pixel_at(WaylandPainter& painter, ShmBuffer& buffer, std::int32_t x, std::int32_t y)
{
    return static_cast<std::uint32_t*>(buffer.pixels) + static_cast<std::ptrdiff_t>(y) * painter.width + x;
}

void fill_black(WaylandPainter& painter, ShmBuffer& buffer, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height)
{
    for (std::int32_t line = 0; line < height; ++line)
        std::fill_n(pixel_at(painter, buffer, x, y + line), width, black_pixel);
}

// A few pixels, in moves of a size known here rather than a call: a cell's
// line is seldom more than a few dozen bytes. Overlapping moves write some
// pixels twice, with the same value.
void copy_pixels(std::uint32_t* to, const std::uint32_t* from, std::int32_t count)
{
    if (count >= 8) {
        for (std::int32_t i = 0; i + 8 <= count; i += 8) std::memcpy(to + i, from + i, 32);
        std::memcpy(to + count - 8, from + count - 8, 32);
    } else if (count >= 4) {
        std::memcpy(to, from, 16);
        std::memcpy(to + count - 4, from + count - 4, 16);
    } else {
        for (std::int32_t i = 0; i < count; ++i) to[i] = from[i];
    }
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
    buffer.drawn = CellGrid(painter.shown.columns, painter.shown.rows);
    buffer.blended.assign(buffer.drawn.cells.size(), 0);
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

// Whether a neighbour's glyph reaches into the cell, which then cannot be
// a tile.
bool reached(GlyphTiles& tiles, const CellGrid& grid, const Cell* cells, std::int32_t column)
{
    return (column > 0 && (reach_of(tiles, cells[column - 1]) & reach_right)) ||
           (column + 1 < grid.columns && (reach_of(tiles, cells[column + 1]) & reach_left));
}

CellLines either(const Tile& now, const Tile& was)
{
    if (now.top == now.bottom) return {now.pixels, was.top, was.bottom};
    if (was.top == was.bottom) return {now.pixels, now.top, now.bottom};
    return {now.pixels, std::min(now.top, was.top), std::max(now.bottom, was.bottom)};
}

// What a cell needs written over what the buffer holds there: nothing if
// it holds the cell already; where a neighbour's glyph reaches in, all of
// it black, to blend over; else the lines where its tile or the one it
// replaces are not black.
CellLines lines_of(WaylandPainter& painter, ShmBuffer& buffer, const CellGrid& grid, std::int32_t row,
                   std::int32_t column)
{
    GlyphTiles& tiles = painter.tiles;
    const Cell& now = grid.row(row)[column];
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(grid.columns) +
                           static_cast<std::size_t>(column);
    Cell& held = buffer.drawn.cells[at];
    std::uint8_t& blended = buffer.blended[at];
    const CellLines whole = {nullptr, 0, painter.metrics.cell_height};
    if (reached(tiles, grid, grid.row(row), column)) {
        blended = true;
        return {tiles.black.pixels, whole.top, whole.bottom, true};
    }
    if (held == now && !blended) return {tiles.black.pixels, 0, 0};
    const Tile& tile = tile_of(tiles, now);
    const CellLines lines = blended ? CellLines{tile.pixels, whole.top, whole.bottom}
                                    : either(tile, tile_of(tiles, held));
    held = now;
    blended = false;
    return lines;
}

// Each cell once, only its lines that change; a stretch that a
// neighbour's glyph reaches into is then blended over its black.
void draw_cells(WaylandPainter& painter, ShmBuffer& buffer, const CellGrid& grid, const RowSpan& span)
{
    const glyph_font_metrics& m = painter.metrics;
    const std::int32_t y = span.row * m.cell_height;
    std::int32_t reached_from = -1; // the first of the reached cells before `column`
    for (std::int32_t column = span.first; column <= span.end; ++column) {
        const CellLines cell = column < span.end ? lines_of(painter, buffer, grid, span.row, column) : CellLines{};
        if (cell.reached && reached_from < 0) reached_from = column;
        if (!cell.reached && reached_from >= 0) {
            blend_cells(painter.tiles, buffer.image, grid, span.row, reached_from, column);
            reached_from = -1;
        }
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(cell.top) * m.cell_width;
        for (std::int32_t line = cell.top; line < cell.bottom; ++line)
            copy_pixels(pixel_at(painter, buffer, column * m.cell_width, y + line),
                        cell.pixels + offset + (line - cell.top) * m.cell_width, m.cell_width);
    }
}

bool earlier(const RowSpan& a, const RowSpan& b) { return a.row != b.row ? a.row < b.row : a.first < b.first; }

// Every buffer lacks this frame's changes; those a buffer lacks from the
// frames it missed stay in order with them.
void mark_stale(WaylandPainter& painter)
{
    for (ShmBuffer& buffer : painter.buffers) {
        if (!buffer.buffer) continue;
        painter.merged.clear();
        std::merge(buffer.stale.begin(), buffer.stale.end(), painter.changed.begin(), painter.changed.end(),
                   std::back_inserter(painter.merged), earlier);
        std::swap(buffer.stale, painter.merged);
    }
}

// Draws every cell the buffer lacks, each once however many frames it
// missed.
void bring_up_to_date(WaylandPainter& painter, ShmBuffer& buffer, const CellGrid& grid)
{
    const std::vector<RowSpan>& stale = buffer.stale;
    for (std::size_t i = 0; i < stale.size();) {
        RowSpan joined = stale[i];
        for (++i; i < stale.size() && stale[i].row == joined.row && stale[i].first <= joined.end; ++i)
            joined.end = std::max(joined.end, stale[i].end);
        draw_cells(painter, buffer, grid, joined);
    }
    buffer.stale.clear();
}

// Cells of whole rows, [top, bottom) by [first, end).
struct CellBox {
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t first = 0;
    std::int32_t end = 0;
    std::int64_t changed = 0; // how many of its cells changed
    std::int64_t area() const { return std::int64_t{bottom - top} * (end - first); }
};

void damage_box(const WaylandPainter& painter, wl_surface* surface, const CellBox& box)
{
    const glyph_font_metrics& m = painter.metrics;
    wl_surface_damage_buffer(surface, box.first * m.cell_width, box.top * m.cell_height,
                             (box.end - box.first) * m.cell_width, (box.bottom - box.top) * m.cell_height);
}

// Each request costs both sides a message: a row's changes make one box,
// and the next row joins it while the box stays at most half again larger
// than what changed in it, as the compositor draws again all it is told.
void damage_changes(const WaylandPainter& painter, wl_surface* surface)
{
    const std::vector<RowSpan>& changed = painter.changed;
    std::optional<CellBox> open;
    for (std::size_t i = 0; i < changed.size();) {
        CellBox row{changed[i].row, changed[i].row + 1, changed[i].first, changed[i].end, 0};
        for (; i < changed.size() && changed[i].row == row.top; ++i) {
            row.first = std::min(row.first, changed[i].first);
            row.end = std::max(row.end, changed[i].end);
            row.changed += changed[i].end - changed[i].first;
        }
        if (open && open->bottom == row.top) {
            const CellBox joined{open->top, row.bottom, std::min(open->first, row.first),
                                 std::max(open->end, row.end), open->changed + row.changed};
            if (2 * joined.area() <= 3 * joined.changed) {
                open = joined;
                continue;
            }
        }
        if (open) damage_box(painter, surface, *open);
        open = row;
    }
    if (open) damage_box(painter, surface, *open);
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

    mark_stale(painter);
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
