// Draws the program's icon at build time from the catalogue's own art: one
// fish in its colours, as the aquarium shows it, on black.
//   glyph_make_icon OUTPUT.ico
#include <gd.h>
#include <gdfontg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "ico_file.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"

namespace gm {

namespace {

// Windows asks for these; larger pictures are made from them by scaling.
constexpr int icon_sizes[] = {16, 32, 48, 256};
// This seed dresses the fish in colours that stay apart when shrunk.
constexpr std::uint32_t colouring_seed = 2;
constexpr double margin = 0.94;

using Image = std::unique_ptr<gdImage, decltype(&gdImageDestroy)>;

Image new_image(int width, int height)
{
    return Image(gdImageCreateTrueColor(width, height), &gdImageDestroy);
}

// The right-facing fish whose picture comes closest to a square, since an
// icon is one; text cells are taller than wide.
const SpriteArt* squarest_fish(gdFontPtr font)
{
    const CatalogueEntry* entry = find_entry("new_fish");
    if (!entry) return nullptr;
    const SpriteArt* best = nullptr;
    double best_error = 0;
    for (std::size_t v = 0; v < entry->variants.size(); v += 2) {
        const SpriteFrame frame(entry->variants[v].picture_text, colours::white, true);
        if (frame.width == 0 || frame.height == 0) continue;
        const double error =
            std::fabs(std::log(static_cast<double>(frame.width * font->w) / (frame.height * font->h)));
        if (!best || error < best_error) {
            best = &entry->variants[v];
            best_error = error;
        }
    }
    return best;
}

// The frame's visible characters, each in its cell's colour; a heavy copy
// draws each one a second time a pixel to the right, so that it keeps its
// colour when shrunk to a few pixels.
Image draw_frame(const SpriteFrame& frame, gdFontPtr font, bool heavy)
{
    Image image = new_image(frame.width * font->w + 1, frame.height * font->h);
    if (!image) return image;
    gdImageFilledRectangle(image.get(), 0, 0, gdImageSX(image.get()) - 1, gdImageSY(image.get()) - 1, 0);
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const char c = frame.cell_at(x, y);
            if (c == ' ' || c == 0 || frame.is_transparent(x, y)) continue;
            const Colour colour = frame.colour_at(x, y);
            const int ink = gdTrueColor(red_of(colour), green_of(colour), blue_of(colour));
            const auto glyph = static_cast<int>(static_cast<unsigned char>(c));
            gdImageChar(image.get(), font, x * font->w, y * font->h, glyph, ink);
            if (heavy) gdImageChar(image.get(), font, x * font->w + 1, y * font->h, glyph, ink);
        }
    }
    return image;
}

// Averaging thin strokes with the black around them dims them; a shrunk
// picture gets back the full brightness of its colours, keeping their hue.
void restore_brightness(gdImagePtr image)
{
    constexpr int faint = 24;
    for (int y = 0; y < gdImageSY(image); ++y) {
        for (int x = 0; x < gdImageSX(image); ++x) {
            const int pixel = gdImageGetTrueColorPixel(image, x, y);
            const int r = gdTrueColorGetRed(pixel), g = gdTrueColorGetGreen(pixel), b = gdTrueColorGetBlue(pixel);
            const int top = std::max({r, g, b});
            if (top <= faint || top == 255) continue;
            gdImageSetPixel(image, x, y, gdTrueColor(r * 255 / top, g * 255 / top, b * 255 / top));
        }
    }
}

// Whole-number enlargements keep the characters sharp; a picture that must
// shrink is averaged instead.
bool make_icon_image(const Image& plain, const Image& heavy, int size, IconImage& out)
{
    Image icon = new_image(size, size);
    if (!icon) return false;
    gdImageFilledRectangle(icon.get(), 0, 0, size - 1, size - 1, 0);
    const int width = gdImageSX(plain.get());
    const int height = gdImageSY(plain.get());
    const double room = size * margin;
    const int whole = static_cast<int>(std::floor(std::min(room / width, room / height)));
    if (whole >= 1) {
        gdImageCopyResized(icon.get(), plain.get(), (size - width * whole) / 2, (size - height * whole) / 2, 0, 0,
                           width * whole, height * whole, width, height);
    } else {
        const double scale = std::min(room / width, room / height);
        const int w = std::max(1, static_cast<int>(std::lround(width * scale)));
        const int h = std::max(1, static_cast<int>(std::lround(height * scale)));
        gdImageCopyResampled(icon.get(), heavy.get(), (size - w) / 2, (size - h) / 2, 0, 0, w, h, width, height);
        restore_brightness(icon.get());
    }
    gdImageAlphaBlending(icon.get(), 0);
    gdImageSaveAlpha(icon.get(), 1);
    int bytes = 0;
    void* png = gdImagePngPtr(icon.get(), &bytes);
    if (!png || bytes <= 0) return false;
    out.size = size;
    out.png.assign(static_cast<unsigned char*>(png), static_cast<unsigned char*>(png) + bytes);
    gdFree(png);
    return true;
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
    gdFontPtr font = gdFontGetGiant();
    const SpriteArt* art = squarest_fish(font);
    if (!art) {
        std::fprintf(stderr, "glyph_make_icon: the catalogue has no fish to draw\n");
        return 1;
    }
    Random random(colouring_seed);
    const SpriteFrame frame = build_frame(*art, colours::white, true, true, random);
    const Image plain = draw_frame(frame, font, false);
    const Image heavy = draw_frame(frame, font, true);
    std::vector<IconImage> images;
    for (int size : icon_sizes) {
        IconImage image;
        if (!plain || !heavy || !make_icon_image(plain, heavy, size, image)) {
            std::fprintf(stderr, "glyph_make_icon: cannot draw the %d-pixel picture\n", size);
            return 1;
        }
        images.push_back(std::move(image));
    }
    if (!write_ico_file(argv[1], images)) {
        std::fprintf(stderr, "glyph_make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
