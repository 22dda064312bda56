#include "record/record_gif.h"

#include <algorithm>
#include <gif_lib.h>
#include <stdexcept>
#include <string>


namespace gm {

namespace {

// Loop count 0 in the NETSCAPE block: for ever.
constexpr unsigned char loop_for_ever[] = {1, 0, 0};
constexpr unsigned char netscape[] = "NETSCAPE2.0";
// One colour beyond the palette marks pixels that let the frame below show.
constexpr int see_through = static_cast<int>(palette_size);
constexpr int colour_bits = 4;

// giflib is C: the file's failure is kept and giflib told of a short write,
// and the failure is thrown again once giflib has returned.
int write_out(GifFileType* gif, const GifByteType* bytes, int size)
{
    auto* output = static_cast<GifRecorder::Output*>(gif->UserData);
    if (!output->file) return size;
    try {
        output->file->write(bytes, static_cast<std::size_t>(size));
        return size;
    } catch (...) {
        output->failure = std::current_exception();
        return 0;
    }
}

void check(int status, GifFileType* gif, const GifRecorder::Output& output)
{
    if (status == GIF_OK) return;
    if (output.failure) std::rethrow_exception(output.failure);
    throw std::runtime_error(std::string("giflib could not encode a frame: ") + GifErrorString(gif->Error));
}

// The pixels the viewer sees in a rectangle of the picture, for the plan to
// paint the change over.
Picture part_of(const Picture& whole, int left, int top, int width, int height)
{
    Picture part(width, height);
    for (int y = 0; y < height; ++y) std::copy_n(whole.row(top + y) + left, width, part.row(y));
    return part;
}

// The pixels of a frame that the viewer is to be shown, in the frame's own
// coordinates.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom one past the last
};

// Inside the changed cells most pixels are still what the viewer sees:
// making those see-through, and leaving out the rows and columns that hold
// nothing else, leaves the encoder little but the real change. The first
// frame stays opaque and whole: under it there is only the page or the
// viewer's background. A frame that changes nothing still shows one pixel,
// which holds its time on screen.
PixelRect see_through_unchanged(Picture& frame, Picture& shown, int left, int top, bool first)
{
    PixelRect changed{frame.width, frame.height, 0, 0};
    for (int y = 0; y < frame.height; ++y) {
        unsigned char* pixels = frame.row(y);
        unsigned char* seen = shown.row(top + y) + left;
        for (int x = 0; x < frame.width; ++x) {
            if (pixels[x] == seen[x] && !first) {
                pixels[x] = static_cast<unsigned char>(see_through);
                continue;
            }
            seen[x] = pixels[x];
            changed = {std::min(changed.left, x), std::min(changed.top, y), std::max(changed.right, x + 1),
                       std::max(changed.bottom, y + 1)};
        }
    }
    if (changed.left >= changed.right) return {0, 0, 1, 1};
    return changed;
}

} // namespace

void GifRecorder::Abandon::operator()(GifFileType* gif) const
{
    static_cast<Output*>(gif->UserData)->file = nullptr;
    EGifCloseFile(gif, nullptr);
}

GifRecorder::GifRecorder(AtomicFile& file, int fps, int scale)
    : output_(std::make_unique<Output>(Output{&file, nullptr})), fps_(fps), scale_(scale)
{
}

// GIF delays are whole hundredths of a second; rounding each frame's end
// rather than its length keeps a rate such as 3 fps from drifting.
int GifRecorder::delay_of(std::int64_t frame) const
{
    auto end_of = [this](std::int64_t f) { return (f * 100 * 2 + fps_) / (2 * fps_); };
    return static_cast<int>(end_of(frame + 1) - end_of(frame));
}

void GifRecorder::start(const CellGrid& grid)
{
    shown_.emplace(grid.columns * cell_pixel_width * scale_, grid.rows * cell_pixel_height * scale_);
    int error = 0;
    gif_.reset(EGifOpen(output_.get(), write_out, &error));
    if (!gif_) throw std::runtime_error(std::string("giflib could not start a file: ") + GifErrorString(error));
    GifColorType colours[1 << colour_bits] = {};
    for (std::size_t i = 0; i < palette_size; ++i)
        colours[i] = {static_cast<GifByteType>(red_of(picture_palette[i])),
                      static_cast<GifByteType>(green_of(picture_palette[i])),
                      static_cast<GifByteType>(blue_of(picture_palette[i]))};
    colours[see_through] = {1, 1, 1};
    ColorMapObject* map = GifMakeMapObject(1 << colour_bits, colours);
    if (!map) throw std::runtime_error("no memory for a GIF colour table");
    EGifSetGifVersion(gif_.get(), true);
    const int status = EGifPutScreenDesc(gif_.get(), shown_->width, shown_->height, colour_bits, 0, map);
    GifFreeMapObject(map);
    check(status, gif_.get(), *output_);
    check(EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE), gif_.get(), *output_);
    check(EGifPutExtensionBlock(gif_.get(), sizeof netscape - 1, netscape), gif_.get(), *output_);
    check(EGifPutExtensionBlock(gif_.get(), sizeof loop_for_ever, loop_for_ever), gif_.get(), *output_);
    check(EGifPutExtensionTrailer(gif_.get()), gif_.get(), *output_);
}

void GifRecorder::add(const CellGrid& grid)
{
    const int width = cell_pixel_width * scale_, height = cell_pixel_height * scale_;
    if (frames_ == 0) start(grid);
    plan_.make(previous_, grid);
    CellRect area = plan_.bounds();
    if (area.empty()) area = CellRect{0, 0, 1, 1}; // still a frame: it holds its time on screen
    const int left = area.left * width, top = area.top * height;
    Picture picture = part_of(*shown_, left, top, (area.right - area.left) * width, (area.bottom - area.top) * height);
    paint_into(picture, plan_, area.left, area.top, scale_);
    const PixelRect changed = see_through_unchanged(picture, *shown_, left, top, frames_ == 0);

    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay_of(frames_), see_through};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    GifFileType* gif = gif_.get();
    check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension), gif, *output_);
    const int changed_width = changed.right - changed.left;
    check(EGifPutImageDesc(gif, left + changed.left, top + changed.top, changed_width, changed.bottom - changed.top,
                           false, nullptr),
          gif, *output_);
    for (int y = changed.top; y < changed.bottom; ++y)
        check(EGifPutLine(gif, picture.row(y) + changed.left, changed_width), gif, *output_);
    previous_ = grid;
    ++frames_;
}

void GifRecorder::finish()
{
    if (!gif_) return;
    int error = 0;
    if (EGifCloseFile(gif_.release(), &error) == GIF_OK) return;
    if (output_->failure) std::rethrow_exception(output_->failure);
    throw std::runtime_error(std::string("giflib could not end the file: ") + GifErrorString(error));
}

} // namespace gm
