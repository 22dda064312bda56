#include "record/record_picture.h"

#include <algorithm>
#include <string_view>

#include "render/runs.h"

namespace gm {

const std::array<Colour, palette_size> picture_palette = {
    colours::black,        colours::dark_red,     colours::dark_green,     colours::dark_yellow,
    colours::dark_blue,    colours::dark_magenta, colours::dark_cyan,      colours::grey,
    colours::bright_red,   colours::bright_green, colours::bright_yellow,  colours::bright_blue,
    colours::bright_magenta, colours::bright_cyan, colours::white,
};

namespace {

int red(Colour c) { return static_cast<int>(red_of(c)); }
int green(Colour c) { return static_cast<int>(green_of(c)); }
int blue(Colour c) { return static_cast<int>(blue_of(c)); }

// Every colour the creators use is in the palette; anything else is shown in
// the nearest of them rather than not at all.
unsigned char palette_index(Colour colour)
{
    std::size_t best = 0;
    int best_distance = -1;
    for (std::size_t i = 0; i < picture_palette.size(); ++i) {
        const Colour entry = picture_palette[i];
        const int dr = red(colour) - red(entry), dg = green(colour) - green(entry), db = blue(colour) - blue(entry);
        const int distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
        if (distance == 0) break;
    }
    return static_cast<unsigned char>(best);
}

// Only the glyphs' own pixels are set: the black between them is the
// picture's.
void draw_text(Picture& picture, int left, int top, std::string_view text, unsigned char ink)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int x0 = left + static_cast<int>(i) * cell_pixel_width;
        for (int y = 0; y < cell_pixel_height; ++y) {
            unsigned char* pixels = picture.row(top + y) + x0;
            for (int x = 0; x < cell_pixel_width; ++x)
                if (font_pixel(byte, x, y)) pixels[x] = ink;
        }
    }
}

void paint_unscaled(Picture& picture, const CellGrid& grid, CellRect area)
{
    std::vector<ColourRun> runs;
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        split_runs(grid, row, runs);
        for (const ColourRun& run : runs) {
            const std::int32_t first = std::max(run.column, area.left);
            const std::int32_t end = std::min(run.column + static_cast<std::int32_t>(run.text.size()), area.right);
            if (first >= end) continue;
            const std::string_view text = std::string_view(run.text).substr(
                static_cast<std::size_t>(first - run.column), static_cast<std::size_t>(end - first));
            draw_text(picture, (first - area.left) * cell_pixel_width, (row - area.top) * cell_pixel_height, text,
                      palette_index(run.colour));
        }
    }
}

} // namespace

void paint_cells(Picture& picture, const CellGrid& grid, CellRect area, int scale)
{
    if (scale == 1) return paint_unscaled(picture, grid, area);
    // Painted at the font's own size and each pixel repeated: the letters stay
    // as crisp as the small picture's, with no blur from resampling.
    Picture small(picture.width / scale, picture.height / scale);
    paint_unscaled(small, grid, area);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* from = small.row(y / scale);
        unsigned char* to = picture.row(y);
        for (int x = 0; x < picture.width; ++x) to[x] = from[x / scale];
    }
}

} // namespace gm
