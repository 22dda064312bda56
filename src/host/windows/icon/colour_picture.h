#pragma once
#include <vector>

#include "sprites/colour.h"

namespace gm {

// A true-colour picture, every pixel opaque, and the two ways the icon
// changes a picture's size.
struct ColourPicture {
    ColourPicture(int width, int height) // all black
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    {
    }
    Colour& at(int x, int y) { return pixels[index(x, y)]; }
    Colour at(int x, int y) const { return pixels[index(x, y)]; }
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }

    int width;
    int height;
    std::vector<Colour> pixels;
};

// Each pixel of `from` as a `times` x `times` block of `to`, the top-left at (left, top).
void enlarge_into(ColourPicture& to, const ColourPicture& from, int left, int top, int times);

// `from` shrunk to `width` x `height` pixels of `to` at (left, top), each
// pixel the mean of the source area it covers, weighted by how much of each
// source pixel lies inside it.
void shrink_into(ColourPicture& to, const ColourPicture& from, int left, int top, int width, int height);

// Four bytes a pixel, red, green, blue and an opaque alpha, row after row.
std::vector<unsigned char> rgba_bytes(const ColourPicture& picture);

} // namespace gm
