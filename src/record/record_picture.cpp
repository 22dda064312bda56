#include "record/record_picture.h"

#include <algorithm>

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

// The picture as a paint plan's backend. Glyphs of this font stay inside
// their cells, so drawing a run clipped to its span is drawing the run's
// cells that the span covers.
struct PictureBackend {
    Picture& picture;
    std::int32_t left;
    std::int32_t top;
    int scale;

    int x_of(std::int32_t column) const { return (column - left) * cell_pixel_width * scale; }
    int y_of(std::int32_t row) const { return (row - top) * cell_pixel_height * scale; }

    void clear(const PaintSpan& span)
    {
        const int x = x_of(span.first), width = x_of(span.end) - x;
        for (int y = y_of(span.row); y < y_of(span.row + 1); ++y)
            std::fill_n(picture.row(y) + x, width, static_cast<unsigned char>(0));
    }

    void draw(const PaintSpan& span, const ColourRun& run)
    {
        const unsigned char ink = palette_index(run.colour);
        for (std::int32_t column = std::max(run.column, span.first); column < std::min(run.end(), span.end); ++column) {
            const auto glyph = static_cast<unsigned char>(run.text[static_cast<std::size_t>(column - run.column)]);
            const int x0 = x_of(column), y0 = y_of(span.row);
            for (int y = 0; y < cell_pixel_height * scale; ++y) {
                unsigned char* pixels = picture.row(y0 + y) + x0;
                for (int x = 0; x < cell_pixel_width * scale; ++x)
                    if (font_pixel(glyph, x / scale, y / scale)) pixels[x] = ink;
            }
        }
    }
};

} // namespace

void paint_into(Picture& picture, const PaintPlan& plan, std::int32_t left, std::int32_t top, int scale)
{
    PictureBackend backend{picture, left, top, scale};
    paint(plan, backend);
}

} // namespace gm
