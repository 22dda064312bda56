#pragma once
#include <cstdint>
#include <string>

#include "record/atomic_file.h"
#include "render/cell_grid.h"

namespace gm {

// The first line of an asciicast version 2 file.
std::string cast_header(std::int32_t columns, std::int32_t rows, std::int64_t timestamp, std::uint32_t seed);

// An asciicast version 2 recording: one output event per frame at
// frame / fps seconds, holding only what redraws the cells that changed.
class CastRecorder {
public:
    CastRecorder(AtomicFile& file, int fps, std::int64_t timestamp, std::uint32_t seed)
        : file_(file), fps_(fps), timestamp_(timestamp), seed_(seed)
    {
    }
    void add(const CellGrid& grid);
    void finish();

private:
    std::string redraw(const CellGrid& before, const CellGrid& after);
    void write_event(); // the last frame's, held back until the next frame or the end

    AtomicFile& file_;
    int fps_;
    std::int64_t timestamp_;
    std::uint32_t seed_;
    std::int64_t frames_ = 0;
    int foreground_ = -1; // the terminal's text colour after the last event; -1 its default
    CellGrid previous_;
    std::string output_; // what the last frame sends to the terminal
};

} // namespace gm
