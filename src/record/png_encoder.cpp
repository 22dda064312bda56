#include "record/png_encoder.h"

#include <csetjmp>
#include <png.h>
#include <stdexcept>
#include <string>

namespace gm {

namespace {

constexpr int best_compression = 9;

// libpng reports through longjmp, which must not cross a C++ object's
// lifetime: everything between setjmp and the end is plain data, and the
// vector is only reached through the callback, which turns its own failure
// into libpng's.
void append(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + size);
    } catch (...) {
        png_error(png, "no memory for the encoded picture");
    }
}

void no_flush(png_structp) {}

bool encode(png_structp png, png_infop info, const PngPixels& pixels, png_color* colours,
            std::vector<unsigned char>* out)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, append, no_flush);
    const bool indexed = !pixels.palette.empty();
    const int depth = indexed && pixels.palette.size() <= 16 ? 4 : 8;
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), depth,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(png, info, colours, static_cast<int>(pixels.palette.size()));
    png_set_compression_level(png, best_compression);
    png_write_info(png, info);
    if (depth < 8) png_set_packing(png);
    const std::size_t stride = static_cast<std::size_t>(pixels.width) * (indexed ? 1 : 4);
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(png, pixels.data + static_cast<std::size_t>(y) * stride);
    png_write_end(png, info);
    return true;
}

} // namespace

std::vector<unsigned char> encode_png(const PngPixels& pixels)
{
    png_color colours[256] = {};
    if (pixels.palette.size() > 256) throw std::runtime_error("a PNG palette holds at most 256 colours");
    for (std::size_t i = 0; i < pixels.palette.size(); ++i)
        colours[i] = {static_cast<png_byte>(red_of(pixels.palette[i])),
                      static_cast<png_byte>(green_of(pixels.palette[i])),
                      static_cast<png_byte>(blue_of(pixels.palette[i]))};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<unsigned char> out;
    const bool done = info && encode(png, info, pixels, colours, &out);
    png_destroy_write_struct(&png, &info);
    if (!done) throw std::runtime_error("libpng could not encode a picture of " + std::to_string(pixels.width) + "x" +
                                        std::to_string(pixels.height) + " pixels");
    return out;
}

} // namespace gm
