#pragma once
#include <cstdint>

#include "record/atomic_file.h"
#include "record/record_picture.h"
#include "render/cell_grid.h"

namespace gm {

// An animated GIF that loops for ever: the first frame whole, then each
// frame only as the rectangle of cells that changed, laid over the last.
class GifRecorder {
public:
    GifRecorder(AtomicFile& file, int fps, int scale) : file_(file), fps_(fps), scale_(scale) {}
    void add(const CellGrid& grid);
    void finish();

private:
    int delay_of(std::int64_t frame) const;

    AtomicFile& file_;
    int fps_;
    int scale_;
    std::int64_t frames_ = 0;
    CellGrid previous_;
    Picture shown_; // every pixel as the viewer sees it after the last frame
};

} // namespace gm
