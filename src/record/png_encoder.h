#pragma once
#include <span>
#include <vector>

#include "sprites/colour.h"

namespace gm {

// Pixels as libpng is to be given them, row after row with no padding: one
// byte a pixel indexing `palette`, or four (red, green, blue, alpha).
struct PngPixels {
    int width = 0;
    int height = 0;
    const unsigned char* data = nullptr;
    std::span<const Colour> palette; // empty: the pixels are RGBA
};

// The PNG file of the pixels at libpng's best compression; a palette of up
// to sixteen colours is stored in four bits a pixel. Throws
// std::runtime_error when libpng fails.
std::vector<unsigned char> encode_png(const PngPixels& pixels);

} // namespace gm
