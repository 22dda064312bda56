#pragma once
#include <cstdio>
#include <string>

#include "host/common/colour_rule.h"

#include "render/cell_grid.h"
#include "render/grid_diff.h"

struct screen; // ncurses' own terminal record

namespace gm {
struct Pen;
}

namespace gm {

// What the aquarium asks of the terminal.
struct ScreenWants {
    bool terminal_background = false; // the terminal's own background instead of black
    bool mouse = true; // clicks and every movement reported, so that they can end it
    bool colour = true; // false: the characters alone, in the terminal's own colours
    bool terminal_colours = false; // the terminal's sixteen, as its theme paints them, not the aquarium's own
};

// The ncurses side of the terminal host: set-up, drawing, suspension and the
// way back.
class Screen {
public:
    // Draws on the given terminal streams (the process's own by default).
    explicit Screen(ScreenWants wants, std::FILE* out = stdout, std::FILE* in = stdin);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    int columns() const;
    int rows() const;
    // Hands ncurses only the cells that differ from the last grid drawn.
    void draw(const CellGrid& grid);
    // The next draw repaints every cell, as after a resize, when ncurses'
    // picture of the screen no longer holds what the last draw left there.
    void repaint_all();
    // Gives the terminal back as it was found, for a stop.
    void suspend();
    // Takes it again after suspend(), at the terminal's current size.
    void resume();
    // Keys typed after the one that ended the run were meant for the
    // aquarium, not for the shell that comes back: they are dropped once the
    // terminal is given back.
    void drop_typeahead_at_end() { drop_typeahead_ = true; }

private:
    void start_colours(const ScreenWants& wants);
    void draw_row(int row, ColumnSpan span, const Cell* cells, const Cell* before, Pen& pen) const;
    void take_modes();
    void give_back();

    ColourDepth depth_ = ColourDepth::none;
    short background_ = 0; // black, or -1: the terminal's own background
    bool mouse_;
    std::FILE* out_;
    std::FILE* in_;
    bool drop_typeahead_ = false;
    ::screen* terminal_ = nullptr;
    std::string after_leaving_; // clears the screen where there is no alternate screen to leave
    CellGrid shown_;
};

} // namespace gm
