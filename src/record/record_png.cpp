#include "record/record_png.h"

#include "record/png_encoder.h"
#include "record/record_picture.h"

namespace gm {

void PngRecorder::finish()
{
    Picture picture(last_.columns * cell_pixel_width * scale_, last_.rows * cell_pixel_height * scale_);
    // From no grid at all, the plan is every row whole.
    PaintPlan plan;
    plan.make(CellGrid{}, last_);
    paint_into(picture, plan, 0, 0, scale_);
    const std::vector<unsigned char> file =
        encode_png({picture.width, picture.height, picture.pixels.data(), picture_palette});
    file_.write(file.data(), file.size());
}

} // namespace gm
