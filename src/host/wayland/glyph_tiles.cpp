#include "host/wayland/glyph_tiles.h"

#include <algorithm>

namespace gm {

namespace {

constexpr pixman_color_t opaque_black = {0, 0, 0, 0xFFFF};

// fcft takes a lock on every lookup: each glyph is asked for once and kept
// in pixman's cache, which then draws many in one call.
const void* glyph_of(GlyphTiles& tiles, char character)
{
    const auto index = static_cast<unsigned char>(character);
    std::optional<const void*>& known = tiles.glyphs[index];
    if (!known) {
        const glyph_mask mask = glyph_font_mask(tiles.font, index);
        // The cache places a glyph by its origin: the pen on the baseline.
        known = mask.image ? pixman_glyph_cache_insert(tiles.glyph_cache, tiles.font, &tiles.glyphs[index],
                                                       -mask.left, mask.top, mask.image)
                           : nullptr;
        const bool left = mask.image && mask.left < 0;
        const bool right = mask.image && mask.left + mask.width > tiles.metrics.cell_width;
        const bool drawn = character != ' ' && character != '\0';
        tiles.reach[index] = static_cast<std::uint8_t>(reach_known | (drawn && left ? reach_left : 0) |
                                                       (drawn && right ? reach_right : 0));
    }
    return *known;
}

GlyphInk& ink_of(GlyphTiles& tiles, Colour colour)
{
    for (GlyphInk& ink : tiles.inks)
        if (ink.colour == colour) return ink;
    // 0x00BBGGRR, widened to pixman's sixteen bits a channel.
    const pixman_color_t wanted = {static_cast<std::uint16_t>((colour & 0xFF) * 257),
                                   static_cast<std::uint16_t>(((colour >> 8) & 0xFF) * 257),
                                   static_cast<std::uint16_t>(((colour >> 16) & 0xFF) * 257), 0xFFFF};
    GlyphInk& ink = tiles.inks.emplace_back();
    ink.colour = colour;
    ink.solid = pixman_image_create_solid_fill(&wanted);
    return ink;
}

// The lines of the tile that are not all black.
Tile inked(const std::uint32_t* pixels, const glyph_font_metrics& m)
{
    const auto black_line = [&](std::int32_t line) {
        const std::uint32_t* start = pixels + static_cast<std::ptrdiff_t>(line) * m.cell_width;
        return std::all_of(start, start + m.cell_width, [](std::uint32_t pixel) { return pixel == black_pixel; });
    };
    Tile tile{pixels, 0, m.cell_height};
    while (tile.top < tile.bottom && black_line(tile.top)) ++tile.top;
    while (tile.bottom > tile.top && black_line(tile.bottom - 1)) --tile.bottom;
    if (tile.top == tile.bottom) tile.top = tile.bottom = 0;
    return tile;
}

// The glyph blended over black exactly as a frame blends it over a cleared
// cell, so that copying the tile gives the same pixels.
const Tile* make_tile(GlyphTiles& tiles, const void* glyph, pixman_image_t* solid)
{
    const glyph_font_metrics& m = tiles.metrics;
    // A stride of exactly one cell's pixels, as the copy reads it.
    pixman_image_t* tile = pixman_image_create_bits(PIXMAN_x8r8g8b8, m.cell_width, m.cell_height, nullptr,
                                                    m.cell_width * 4);
    if (!tile) return nullptr;
    tiles.tile_images.push_back(tile);
    const pixman_box32_t all = {0, 0, m.cell_width, m.cell_height};
    pixman_image_fill_boxes(PIXMAN_OP_SRC, tile, &opaque_black, 1, &all);
    const pixman_glyph_t placed = {0, m.ascent, glyph};
    pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, solid, tile, 0, 0, 0, 0, tiles.glyph_cache, 1, &placed);
    return &tiles.tile_list.emplace_back(inked(pixman_image_get_data(tile), m));
}

} // namespace

bool open_tiles(GlyphTiles& tiles, int font_pixels)
{
    tiles.font = glyph_font_open(font_pixels);
    if (!tiles.font) return false;
    tiles.metrics = glyph_font_measure(tiles.font);
    tiles.black_pixels.assign(static_cast<std::size_t>(tiles.metrics.cell_width) * tiles.metrics.cell_height,
                              black_pixel);
    tiles.black = {tiles.black_pixels.data(), 0, 0};
    tiles.glyph_cache = pixman_glyph_cache_create();
    // Frozen for its life, nothing is ever evicted: the cache holds far more
    // than the 256 characters a grid can show.
    pixman_glyph_cache_freeze(tiles.glyph_cache);
    return true;
}

void close_tiles(GlyphTiles& tiles)
{
    for (pixman_image_t* tile : tiles.tile_images) pixman_image_unref(tile);
    for (GlyphInk& ink : tiles.inks) pixman_image_unref(ink.solid);
    if (tiles.glyph_cache) {
        pixman_glyph_cache_thaw(tiles.glyph_cache);
        pixman_glyph_cache_destroy(tiles.glyph_cache);
    }
    glyph_font_close(tiles.font);
    tiles = GlyphTiles{};
}

std::uint8_t learn_reach(GlyphTiles& tiles, char character)
{
    glyph_of(tiles, character);
    return tiles.reach[static_cast<unsigned char>(character)];
}

const Tile& tile_of(GlyphTiles& tiles, const Cell& cell)
{
    if (blank(cell)) return tiles.black;
    // Most cells are found here without a search through the colours.
    const std::uint32_t hash = cell.colour * 2654435761U + static_cast<unsigned char>(cell.character) * 40503U;
    RecentTile& recent = tiles.recent[hash >> 24];
    if (recent.tile && recent.cell == cell) return *recent.tile;
    const void* glyph = glyph_of(tiles, cell.character);
    if (!glyph) return tiles.black;
    GlyphInk& ink = ink_of(tiles, cell.colour);
    const Tile*& tile = ink.tiles[static_cast<unsigned char>(cell.character)];
    if (!tile) tile = make_tile(tiles, glyph, ink.solid);
    if (!tile) return tiles.black;
    recent = {cell, tile};
    return *tile;
}

void blend_cells(GlyphTiles& tiles, pixman_image_t* target, const CellGrid& grid, std::int32_t row,
                 std::int32_t first, std::int32_t end)
{
    const glyph_font_metrics& m = tiles.metrics;
    pixman_region32_t clip;
    pixman_region32_init_rect(&clip, first * m.cell_width, row * m.cell_height,
                              static_cast<unsigned>((end - first) * m.cell_width), static_cast<unsigned>(m.cell_height));
    pixman_image_set_clip_region32(target, &clip);
    pixman_region32_fini(&clip);
    const Cell* cells = grid.row(row);
    const std::int32_t from = std::max(first - 1, 0);
    const std::int32_t to = std::min(end + 1, grid.columns);
    for (std::int32_t column = from; column < to;) {
        // One call for each stretch of one colour, as pixman draws its glyphs in order.
        const Colour colour = cells[column].colour;
        tiles.placed.clear();
        for (; column < to && cells[column].colour == colour; ++column)
            if (const void* glyph = blank(cells[column]) ? nullptr : glyph_of(tiles, cells[column].character))
                tiles.placed.push_back({column * m.cell_width, row * m.cell_height + m.ascent, glyph});
        if (!tiles.placed.empty())
            pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, ink_of(tiles, colour).solid, target, 0, 0, 0, 0,
                                            tiles.glyph_cache, static_cast<int>(tiles.placed.size()),
                                            tiles.placed.data());
    }
    pixman_image_set_clip_region32(target, nullptr);
}

} // namespace gm
