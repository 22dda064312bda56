#pragma once
#include <pixman.h>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "host/wayland/glyph_font.h"
#include "render/cell_grid.h"

namespace gm {

// A cell's pixels, line after line, and the lines [top, bottom) that are
// not all black: a cell changing between two tiles changes only those.
struct Tile {
    const std::uint32_t* pixels = nullptr;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
};

// One colour's solid source and the tiles drawn in it, by character.
struct GlyphInk {
    Colour colour = 0;
    pixman_image_t* solid = nullptr;
    std::array<const Tile*, 256> tiles{}; // null until first drawn
};

struct RecentTile {
    Cell cell;
    const Tile* tile = nullptr; // none yet
};

// Each character a cell can hold, drawn once in each colour on black into a
// tile of one cell, so that a frame copies its cells instead of blending
// them again. A glyph that reaches into a neighbour's cell cannot be a tile:
// the cells it reaches are blended as before, glyph by glyph from the left.
struct GlyphTiles {
    glyph_font* font = nullptr;
    glyph_font_metrics metrics{};
    pixman_glyph_cache_t* glyph_cache = nullptr;
    std::array<std::optional<const void*>, 256> glyphs; // the cache's entries, on first use
    std::array<std::uint8_t, 256> reach{};             // reach_known | reach_left | reach_right
    std::vector<GlyphInk> inks;                         // made on first use
    std::vector<pixman_image_t*> tile_images;           // the images the tiles are the pixels of
    std::deque<Tile> tile_list;                         // where the inks' tiles stay put
    std::vector<std::uint32_t> black_pixels;
    Tile black;                                         // the tile of a cell that shows nothing
    std::array<RecentTile, 256> recent{};               // the tiles last asked for, by a hash of the cell
    std::vector<pixman_glyph_t> placed;                 // one stretch's glyphs, kept to spare an allocation
};

// Opaque black with its unused byte set as pixman sets it for a solid
// fill: some compositors' screenshots read that byte as alpha.
constexpr std::uint32_t black_pixel = 0xFF000000;

constexpr std::uint8_t reach_left = 1;
constexpr std::uint8_t reach_right = 2;
constexpr std::uint8_t reach_known = 4;

// False when no font can be opened.
bool open_tiles(GlyphTiles& tiles, int font_pixels);
void close_tiles(GlyphTiles& tiles);

// Whether the cell shows nothing but black.
inline bool blank(const Cell& cell) { return cell.character == ' ' || cell.character == '\0'; }

std::uint8_t learn_reach(GlyphTiles& tiles, char character);

// Which neighbours the cell's glyph reaches into; asked of every cell drawn,
// so known after the first time without a call.
inline std::uint8_t reach_of(GlyphTiles& tiles, const Cell& cell)
{
    const std::uint8_t reach = tiles.reach[static_cast<unsigned char>(cell.character)];
    return reach & reach_known ? reach : learn_reach(tiles, cell.character);
}

// The cell drawn on black, clipped to the cell; black where the font draws
// nothing for it.
const Tile& tile_of(GlyphTiles& tiles, const Cell& cell);

// Blends the glyphs of `cells` [first - 1, end + 1) of `row`, left to right,
// over the black cells [first, end) of `target`, clipped to those.
void blend_cells(GlyphTiles& tiles, pixman_image_t* target, const CellGrid& grid, std::int32_t row,
                 std::int32_t first, std::int32_t end);

} // namespace gm
