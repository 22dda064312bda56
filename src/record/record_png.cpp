#include "record/record_png.h"

#include "record/record_picture.h"

namespace gm {

namespace {

constexpr int best_compression = 9;

} // namespace

void PngRecorder::finish()
{
    const Picture picture =
        blank_picture(last_.columns * cell_pixel_width() * scale_, last_.rows * cell_pixel_height() * scale_);
    paint_cells(*picture, last_, CellRect{0, 0, last_.columns, last_.rows}, scale_);
    const Encoded encoded = encode([&](int* size) { return gdImagePngPtrEx(picture.get(), size, best_compression); });
    file_.write(encoded.bytes.get(), static_cast<std::size_t>(encoded.size));
}

} // namespace gm
