#include "record/record_picture.h"

#include <array>
#include <gdfontg.h>
#include <string>
#include <vector>

#include "render/runs.h"

namespace gm {

namespace {

constexpr std::array<Colour, 15> palette = {
    colours::black,        colours::dark_red,     colours::dark_green,     colours::dark_yellow,
    colours::dark_blue,    colours::dark_magenta, colours::dark_cyan,      colours::grey,
    colours::bright_red,   colours::bright_green, colours::bright_yellow,  colours::bright_blue,
    colours::bright_magenta, colours::bright_cyan, colours::white,
};

int red(Colour c) { return static_cast<int>(red_of(c)); }
int green(Colour c) { return static_cast<int>(green_of(c)); }
int blue(Colour c) { return static_cast<int>(blue_of(c)); }

// Every colour the creators use is in the palette; anything else is shown in
// the nearest of them rather than not at all.
int palette_index(Colour colour)
{
    int best = 0;
    int best_distance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = red(colour) - red(palette[i]), dg = green(colour) - green(palette[i]),
                  db = blue(colour) - blue(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = static_cast<int>(i);
            best_distance = distance;
        }
        if (distance == 0) break;
    }
    return best;
}

gdFontPtr font() { return gdFontGetGiant(); }

} // namespace

int cell_pixel_width() { return font()->w; }
int cell_pixel_height() { return font()->h; }

Picture blank_picture(int width, int height)
{
    Picture picture(gdImageCreate(width, height));
    if (!picture)
        throw std::runtime_error("no memory for a picture of " + std::to_string(width) + "x" + std::to_string(height) +
                                 " pixels");
    for (Colour colour : palette) gdImageColorAllocate(picture.get(), red(colour), green(colour), blue(colour));
    return picture;
}

namespace {

void paint_unscaled(gdImage& picture, const CellGrid& grid, CellRect area)
{
    std::vector<ColourRun> runs;
    std::string text;
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        split_runs(grid, row, runs);
        for (const ColourRun& run : runs) {
            const std::int32_t first = std::max(run.column, area.left);
            const std::int32_t end = std::min(run.column + static_cast<std::int32_t>(run.text.size()), area.right);
            if (first >= end) continue;
            text.assign(run.text, static_cast<std::size_t>(first - run.column), static_cast<std::size_t>(end - first));
            gdImageString(&picture, font(), (first - area.left) * cell_pixel_width(),
                          (row - area.top) * cell_pixel_height(),
                          reinterpret_cast<unsigned char*>(text.data()), palette_index(run.colour));
        }
    }
}

} // namespace

void paint_cells(gdImage& picture, const CellGrid& grid, CellRect area, int scale)
{
    if (scale == 1) return paint_unscaled(picture, grid, area);
    // Painted at the font's own size and each pixel repeated: the letters stay
    // as crisp as the small picture's, with no blur from resampling.
    const Picture small = blank_picture(gdImageSX(&picture) / scale, gdImageSY(&picture) / scale);
    paint_unscaled(*small, grid, area);
    for (int y = 0; y < gdImageSY(&picture); ++y) {
        const unsigned char* from = small->pixels[y / scale];
        unsigned char* to = picture.pixels[y];
        for (int x = 0; x < gdImageSX(&picture); ++x) to[x] = from[x / scale];
    }
}

} // namespace gm
