#pragma once
#include <cstdio>

#include "render/cell_grid.h"

struct screen; // ncurses' own terminal record

namespace gm {

// The ncurses side of the terminal host: set-up, drawing and the way back.
class Screen {
public:
    // Draws on the given terminal streams (the process's own by default).
    explicit Screen(bool terminal_background, std::FILE* out = stdout, std::FILE* in = stdin);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    int columns() const;
    int rows() const;
    // Draws the grid into ncurses' buffer and sends only what changed.
    void draw(const CellGrid& grid);

private:
    int colours_ = 0;
    std::FILE* out_;
    ::screen* terminal_ = nullptr;
};

} // namespace gm
