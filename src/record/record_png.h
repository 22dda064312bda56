#pragma once
#include "record/atomic_file.h"
#include "render/cell_grid.h"

namespace gm {

// One picture of the last frame it was given, written by finish().
class PngRecorder {
public:
    explicit PngRecorder(AtomicFile& file) : file_(file) {}
    void add(const CellGrid& grid) { last_ = grid; }
    void finish();

private:
    AtomicFile& file_;
    CellGrid last_;
};

} // namespace gm
