#pragma once
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "record/atomic_file.h"
#include "record/record_picture.h"
#include "render/cell_grid.h"
#include "render/paint_plan.h"

struct GifFileType;

namespace gm {

// An animated GIF that loops for ever: the first frame whole, then each
// frame only as the rectangle of cells that changed, laid over the last.
class GifRecorder {
public:
    GifRecorder(AtomicFile& file, int fps, int scale);
    void add(const CellGrid& grid); // throws std::runtime_error
    void finish(); // throws std::runtime_error

    // Where giflib's bytes go: the file, until the recording ends.
    struct Output {
        AtomicFile* file; // none once the recording is abandoned
        std::exception_ptr failure;
    };
    // Ends giflib's work on an unfinished file without writing to it.
    struct Abandon {
        void operator()(GifFileType* gif) const;
    };

private:
    int delay_of(std::int64_t frame) const;
    void start(const CellGrid& grid);

    std::unique_ptr<Output> output_;
    int fps_;
    int scale_;
    std::int64_t frames_ = 0;
    CellGrid previous_;
    PaintPlan plan_; // kept for its storage
    std::optional<Picture> shown_; // every pixel as the viewer sees it after the last frame
    std::unique_ptr<GifFileType, Abandon> gif_;
};

} // namespace gm
