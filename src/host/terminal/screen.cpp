#include "host/terminal/screen.h"

#include <algorithm>
#include <cstdio>
#include <curses.h>
#include <stdexcept>

#include "host/terminal/palette.h"
#include "host/terminal/terminal_quirks.h"

namespace gm {

namespace {

// xterm's any-motion mouse reports, so that moving the mouse can end the run.
constexpr const char* motion_on = "\033[?1003h";
constexpr const char* motion_off = "\033[?1003l";

} // namespace

Screen::Screen(bool terminal_background, std::FILE* out, std::FILE* in) : out_(out)
{
    terminal_ = newterm(nullptr, out, in);
    if (!terminal_) throw std::runtime_error("this terminal type is not known; set TERM");
    set_term(terminal_);
    avoid_repeat_sequences();
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    curs_set(0);
    mousemask(ALL_MOUSE_EVENTS | REPORT_MOUSE_POSITION, nullptr);
    mouseinterval(0);
    std::fputs(motion_on, out_);
    std::fflush(out_);

    if (has_colors()) {
        start_color();
        short background = COLOR_BLACK;
        if (terminal_background && use_default_colors() == OK) background = -1;
        colours_ = COLORS >= 16 ? 16 : (COLORS >= 8 ? 8 : 0);
        // Only pairs are defined; the user's palette itself is never changed.
        for (short i = 0; i < colours_ && i < COLOR_PAIRS - 1; ++i) init_pair(static_cast<short>(i + 1), i, background);
        if (colours_ > 0 && !terminal_background) bkgd(COLOR_PAIR(1) | ' ');
    }
    erase();
}

Screen::~Screen()
{
    std::fputs(motion_off, out_);
    std::fflush(out_);
    endwin();
    delscreen(terminal_);
}

int Screen::columns() const { return getmaxx(stdscr); }
int Screen::rows() const { return getmaxy(stdscr); }

void Screen::draw(const CellGrid& grid)
{
    const int height = std::min(grid.rows, rows());
    const int width = std::min(grid.columns, columns());
    for (int r = 0; r < height; ++r) {
        const Cell* cells = grid.row(r);
        for (int c = 0; c < width; ++c) {
            const Cell& cell = cells[c];
            chtype ch = ' ';
            chtype attributes = colours_ > 0 ? COLOR_PAIR(1) : 0;
            if (cell.character != ' ' && cell.character != '\0') {
                const TerminalStyle style = style_for(cell.colour, colours_);
                ch = static_cast<unsigned char>(cell.character);
                attributes = COLOR_PAIR(style.pair) | (style.bold ? A_BOLD : 0);
            }
            // Writing the bottom-right cell reports an error; the cell is drawn all the same.
            mvaddch(r, c, ch | attributes);
        }
    }
    refresh();
}

} // namespace gm
