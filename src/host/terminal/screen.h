#pragma once
#include "render/cell_grid.h"

namespace gm {

// The ncurses side of the terminal host: set-up, drawing and the way back.
class Screen {
public:
    explicit Screen(bool terminal_background);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    int columns() const;
    int rows() const;
    // Draws the grid into ncurses' buffer and sends only what changed.
    void draw(const CellGrid& grid);

private:
    int colours_ = 0;
};

} // namespace gm
