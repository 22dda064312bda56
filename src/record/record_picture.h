#pragma once
#include <gd.h>
#include <memory>
#include <stdexcept>

#include "render/cell_grid.h"
#include "render/grid_diff.h"

namespace gm {

struct PictureDeleter {
    void operator()(gdImage* picture) const { gdImageDestroy(picture); }
};
using Picture = std::unique_ptr<gdImage, PictureDeleter>;

// Pixels per cell: one character of libgd's built-in 9x15 bold font.
int cell_pixel_width();
int cell_pixel_height();

// A palette picture, all black, whose colour table is black and then the
// fourteen colours, always in the same order, so that every frame of an
// animation can use one shared table. Throws std::runtime_error when libgd
// cannot make it.
Picture blank_picture(int width, int height);

// Draws the cells inside `area` in runs of one colour on black, the area's
// top-left cell at the picture's top-left pixel, each pixel of the font
// `scale` pixels wide and high.
void paint_cells(gdImage& picture, const CellGrid& grid, CellRect area, int scale);

// Bytes that libgd encoded, released with gdFree.
struct EncodedDeleter {
    void operator()(void* bytes) const { gdFree(bytes); }
};
struct Encoded {
    std::unique_ptr<void, EncodedDeleter> bytes;
    int size = 0;
};

// Runs one of libgd's ...Ptr encoders, which report their size through a
// pointer; throws std::runtime_error when it made nothing.
template <typename Encoder>
Encoded encode(Encoder encoder)
{
    Encoded encoded;
    encoded.bytes.reset(encoder(&encoded.size));
    if (!encoded.bytes || encoded.size < 0) throw std::runtime_error("libgd could not encode a picture");
    return encoded;
}

} // namespace gm
