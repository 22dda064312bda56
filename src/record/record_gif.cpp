#include "record/record_gif.h"

#include "record/record_picture.h"
#include "render/grid_diff.h"

namespace gm {

namespace {

// Loop count 0 in the NETSCAPE block: for ever.
constexpr int loop_for_ever = 0;

// One colour beyond the palette marks pixels that let the frame below show.
Picture gif_picture(int width, int height)
{
    Picture picture = blank_picture(width, height);
    gdImageColorTransparent(picture.get(), gdImageColorAllocate(picture.get(), 1, 1, 1));
    return picture;
}

// Inside the changed rectangle most pixels are still what the viewer sees;
// making those see-through leaves the encoder little but the real change.
// The first frame stays opaque: under it there is only the page or the
// viewer's background.
void see_through_unchanged(gdImage& frame, gdImage& shown, int left, int top, bool first)
{
    const int clear = first ? -1 : gdImageGetTransparent(&frame);
    for (int y = 0; y < gdImageSY(&frame); ++y) {
        unsigned char* pixels = frame.pixels[y];
        unsigned char* seen = shown.pixels[top + y] + left;
        for (int x = 0; x < gdImageSX(&frame); ++x) {
            if (pixels[x] == seen[x] && clear >= 0)
                pixels[x] = static_cast<unsigned char>(clear);
            else
                seen[x] = pixels[x];
        }
    }
}

void write(AtomicFile& file, const Encoded& encoded) { file.write(encoded.bytes.get(), static_cast<std::size_t>(encoded.size)); }

} // namespace

// GIF delays are whole hundredths of a second; rounding each frame's end
// rather than its length keeps a rate such as 3 fps from drifting.
int GifRecorder::delay_of(std::int64_t frame) const
{
    auto end_of = [this](std::int64_t f) { return (f * 100 * 2 + fps_) / (2 * fps_); };
    return static_cast<int>(end_of(frame + 1) - end_of(frame));
}

void GifRecorder::add(const CellGrid& grid)
{
    const int width = cell_pixel_width() * scale_, height = cell_pixel_height() * scale_;
    if (frames_ == 0) {
        shown_ = gif_picture(grid.columns * width, grid.rows * height);
        write(file_, encode([&](int* size) { return gdImageGifAnimBeginPtr(shown_.get(), size, 1, loop_for_ever); }));
    }
    CellRect area = frames_ == 0 ? CellRect{0, 0, grid.columns, grid.rows} : changed_rect(previous_, grid);
    // A frame must still hold its time on screen when nothing moved: one
    // unchanged cell carries it.
    if (area.empty()) area = CellRect{0, 0, 1, 1};
    const Picture picture = gif_picture((area.right - area.left) * width, (area.bottom - area.top) * height);
    paint_cells(*picture, grid, area, scale_);
    see_through_unchanged(*picture, *shown_, area.left * width, area.top * height, frames_ == 0);
    write(file_, encode([&](int* size) {
              return gdImageGifAnimAddPtr(picture.get(), size, 0, area.left * width, area.top * height,
                                          delay_of(frames_), gdDisposalNone, nullptr);
          }));
    previous_ = grid;
    ++frames_;
}

void GifRecorder::finish()
{
    write(file_, encode([](int* size) { return gdImageGifAnimEndPtr(size); }));
}

} // namespace gm
