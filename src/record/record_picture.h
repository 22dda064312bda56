#pragma once
#include <array>
#include <cstddef>
#include <vector>

#include "record/fixed_font.h"
#include "render/cell_grid.h"
#include "render/paint_plan.h"

namespace gm {

// Pixels per cell: one character of the font.
inline constexpr int cell_pixel_width = font_width;
inline constexpr int cell_pixel_height = font_height;

// Black and then the fourteen colours, always in the same order, so that
// every frame of an animation can use one shared table.
inline constexpr std::size_t palette_size = 15;
extern const std::array<Colour, palette_size> picture_palette;

// A palette picture: each pixel one byte, an index into the palette.
struct Picture {
    Picture(int width, int height) // all black
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    {
    }
    unsigned char* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const unsigned char* row(int y) const
    {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }

    int width;
    int height;
    std::vector<unsigned char> pixels;
};

// Paints `plan` into a picture whose top-left pixel is that of the cell at
// (`left`, `top`), each pixel of the font `scale` pixels wide and high: every
// span cleared to black, and its runs drawn over it in their colours. Every
// span lies inside the picture.
void paint_into(Picture& picture, const PaintPlan& plan, std::int32_t left, std::int32_t top, int scale);

} // namespace gm
