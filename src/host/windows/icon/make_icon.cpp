// Draws the program's icon at build time from the catalogue's own art: one
// fish in its colours, as the aquarium shows it, on black, in the
// recordings' font.
//   glyph_make_icon OUTPUT.ico
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <vector>

#include "colour_picture.h"
#include "ico_file.h"
#include "record/fixed_font.h"
#include "record/png_encoder.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"

namespace gm {

namespace {

// Windows asks for these; larger pictures are made from them by scaling.
constexpr int icon_sizes[] = {16, 32, 48, 256};
// This seed dresses the fish in colours that stay apart when shrunk.
constexpr std::uint32_t colouring_seed = 2;
constexpr double margin = 0.94;

// The right-facing fish whose picture comes closest to a square, since an
// icon is one; text cells are taller than wide.
const SpriteArt* squarest_fish()
{
    const CatalogueEntry* entry = find_entry("new_fish");
    if (!entry) return nullptr;
    const SpriteArt* best = nullptr;
    double best_error = 0;
    for (std::size_t v = 0; v < entry->variants.size(); v += 2) {
        const SpriteFrame frame(entry->variants[v].picture_text, colours::white, true);
        if (frame.width == 0 || frame.height == 0) continue;
        const double error =
            std::fabs(std::log(static_cast<double>(frame.width * font_width) / (frame.height * font_height)));
        if (!best || error < best_error) {
            best = &entry->variants[v];
            best_error = error;
        }
    }
    return best;
}

void draw_glyph(ColourPicture& picture, unsigned char glyph, int left, int top, Colour ink)
{
    for (int y = 0; y < font_height; ++y)
        for (int x = 0; x < font_width; ++x)
            if (font_pixel(glyph, x, y)) picture.at(left + x, top + y) = ink;
}

// The frame's visible characters, each in its cell's colour; a heavy copy
// draws each one a second time a pixel to the right, so that it keeps its
// colour when shrunk to a few pixels.
ColourPicture draw_frame(const SpriteFrame& frame, bool heavy)
{
    ColourPicture picture(frame.width * font_width + 1, frame.height * font_height);
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const char c = frame.cell_at(x, y);
            if (c == ' ' || c == 0 || frame.is_transparent(x, y)) continue;
            const auto glyph = static_cast<unsigned char>(c);
            draw_glyph(picture, glyph, x * font_width, y * font_height, frame.colour_at(x, y));
            if (heavy) draw_glyph(picture, glyph, x * font_width + 1, y * font_height, frame.colour_at(x, y));
        }
    }
    return picture;
}

// Averaging thin strokes with the black around them dims them; a shrunk
// picture gets back the full brightness of its colours, keeping their hue.
void restore_brightness(ColourPicture& picture)
{
    constexpr unsigned faint = 24;
    for (Colour& pixel : picture.pixels) {
        const unsigned r = red_of(pixel), g = green_of(pixel), b = blue_of(pixel);
        const unsigned top = std::max({r, g, b});
        if (top <= faint || top == 255) continue;
        pixel = (r * 255 / top) | (g * 255 / top) << 8 | (b * 255 / top) << 16;
    }
}

// Whole-number enlargements keep the characters sharp; a picture that must
// shrink is averaged instead.
IconImage make_icon_image(const ColourPicture& plain, const ColourPicture& heavy, int size)
{
    ColourPicture icon(size, size);
    const double room = size * margin;
    const int whole = static_cast<int>(std::floor(std::min(room / plain.width, room / plain.height)));
    if (whole >= 1) {
        enlarge_into(icon, plain, (size - plain.width * whole) / 2, (size - plain.height * whole) / 2, whole);
    } else {
        const double scale = std::min(room / plain.width, room / plain.height);
        const int w = std::max(1, static_cast<int>(std::lround(plain.width * scale)));
        const int h = std::max(1, static_cast<int>(std::lround(plain.height * scale)));
        shrink_into(icon, heavy, (size - w) / 2, (size - h) / 2, w, h);
        restore_brightness(icon);
    }
    const std::vector<unsigned char> rgba = rgba_bytes(icon);
    return IconImage{size, encode_png({size, size, rgba.data(), {}})};
}

} // namespace

} // namespace gm

int main(int argc, char** argv)
{
    using namespace gm;
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyph_make_icon OUTPUT.ico\n");
        return 2;
    }
    const SpriteArt* art = squarest_fish();
    if (!art) {
        std::fprintf(stderr, "glyph_make_icon: the catalogue has no fish to draw\n");
        return 1;
    }
    Random random(colouring_seed);
    const SpriteFrame frame = build_frame(*art, colours::white, true, true, random);
    const ColourPicture plain = draw_frame(frame, false);
    const ColourPicture heavy = draw_frame(frame, true);
    std::vector<IconImage> images;
    for (int size : icon_sizes) {
        try {
            images.push_back(make_icon_image(plain, heavy, size));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "glyph_make_icon: cannot draw the %d-pixel picture: %s\n", size, error.what());
            return 1;
        }
    }
    if (!write_ico_file(argv[1], images)) {
        std::fprintf(stderr, "glyph_make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
