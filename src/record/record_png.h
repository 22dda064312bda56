#pragma once
#include "record/atomic_file.h"
#include "render/cell_grid.h"

namespace gm {

// One picture of the last frame it was given, written by finish().
class PngRecorder {
public:
    PngRecorder(AtomicFile& file, int scale) : file_(file), scale_(scale) {}
    void add(const CellGrid& grid) { last_ = grid; }
    void finish();

private:
    AtomicFile& file_;
    int scale_;
    CellGrid last_;
};

} // namespace gm
