#include "host/glyphmarinae/screen.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <curses.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>

#include "host/glyphmarinae/palette.h"
#include "host/glyphmarinae/terminal_signals.h"
#include "host/glyphmarinae/terminfo.h"
#include "render/grid_diff.h"

namespace gm {

namespace {

// xterm's any-motion mouse reports, so that moving the mouse can end the run.
constexpr const char* motion_on = "\033[?1003h";
constexpr const char* motion_off = "\033[?1003l";

// Escape sequences arrive whole from any terminal emulator; the wait for the
// rest of one only has to outlast a slow link, not ncurses' default second.
constexpr int escape_wait_ms = 25;

// The pairs of the sixteen and the 256-colour palette's cube.
constexpr int cube_pairs = 232;

// The longest stretch of unchanged blanks between two changed cells of a
// row that is sent again rather than moved over.
constexpr int blanks_sent_again = 24;

// The character type ncurses starts under; see start_without_repeats.
constexpr const char* utf8_character_type = "C.UTF-8";

// What ends every mode the program sets, for a fault that cannot go through ncurses.
std::string fault_restore_text(const std::string& after_leaving, bool mouse)
{
    std::string text;
    if (mouse) {
        text = motion_off;
        if (has_capability("XM")) text += tiparm(tigetstr("XM"), 0);
        else if (has_capability("kmous")) text += "\033[?1000l";
    }
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"}) text += capability_text(name);
    return text + after_leaving;
}

// Flow control lets Ctrl-S hold all output until Ctrl-Q: an aquarium frozen
// by a key that then ends it no more. Without it both keys arrive as keys.
void stop_flow_control(int fd)
{
    termios modes{};
    if (tcgetattr(fd, &modes) != 0) return;
    modes.c_iflag &= ~static_cast<tcflag_t>(IXON);
    tcsetattr(fd, TCSANOW, &modes);
    // What ncurses sets again on each return from endwin, a resume included.
    def_prog_mode();
}

// The entry ncurses starts under: TERM's, or, where the terminal says it
// draws 24 bits and TERM names an entry that cannot, the -direct entry of
// the same family, when the database has one. No other entry is tried:
// another family's may describe other keys and modes.
std::string entry_to_start(const ScreenWants& wants, int fd)
{
    const char* found = std::getenv("TERM");
    const std::string type = found ? found : "";
    if (!wants.colour || wants.terminal_colours) return type;
    const char* colorterm = std::getenv("COLORTERM");
    if (colour_depth_for(colorterm ? colorterm : "", type, 0) != ColourDepth::truecolor) return type;
    const std::string direct = direct_entry_for(type);
    return !direct.empty() && terminal_type_known(direct.c_str(), fd) ? direct : type;
}

// Many terminals that call themselves xterm (mosh, older emulators, some
// recorders and players) ignore the "repeat the last character" sequence and
// would draw a water line as one '~'. ncursesw sends it only when started
// under a character type of single bytes, not under UTF-8; the aquarium
// writes ASCII alone, the same bytes in every character set, so ncurses is
// started under UTF-8 whatever the user's. (Blanking the capability in the
// copy term.h shows reaches nothing: the wide library reads its own.)
::screen* start_without_repeats(const std::string& type, std::FILE* out, std::FILE* in)
{
    const char* found = std::setlocale(LC_CTYPE, nullptr);
    const std::string before = found ? found : "C";
    std::setlocale(LC_CTYPE, utf8_character_type);
    ::screen* started = newterm(type.empty() ? nullptr : type.c_str(), out, in);
    std::setlocale(LC_CTYPE, before.c_str());
    return started;
}

// A cell of one character with `attributes`, in colour pair `pair`, which
// may be past the 16 bits of a chtype's pair.
cchar_t cell_of(wchar_t character, attr_t attributes, int pair)
{
    const wchar_t text[2] = {character, L'\0'};
    cchar_t cell{};
    setcchar(&cell, text, attributes, 0, &pair);
    return cell;
}

// The style of `colour` at `depth`, on `background`.
TerminalStyle style_of(Colour colour, ColourDepth depth, short background)
{
    if (depth != ColourDepth::truecolor) return style_for(colour, depth);
    // ncurses keeps a pair for each colour the aquarium has used, of the few
    // it has, and finds it again by the colours.
    // Should none be had, the terminal's own colours show the character
    // where pair 1 would hide it, black on black.
    const int pair = alloc_pair(direct_colour_number(colour), background);
    return {pair > 0 ? pair : 0, false};
}

// Blank: nothing painted, only the background shows.
bool is_blank(char character) { return character == ' ' || character == '\0'; }

bool is_blank_cell(const Cell& cell) { return is_blank(cell.character); }

// Every pair has the same background, so two blanks look alike whatever
// their colours.
bool looks_alike(const Cell& a, const Cell& b) { return a == b || (is_blank(a.character) && is_blank(b.character)); }

} // namespace

// The attributes and pair of the cell last handed to ncurses. ncurses sends
// a frame's changed cells in the order they are handed over, row by row and
// left to right, so a blank in the pen's pair, which looks the same in any,
// spares the terminal a colour change: the dearest thing ncurses sends, a
// foreground and a background sequence each.
struct Pen {
    attr_t attributes = A_NORMAL;
    int pair = 0;
    // The style last looked up: neighbouring characters mostly share a colour.
    bool styled = false;
    Colour colour = 0;
    TerminalStyle style;
};

namespace {


// Adjacent changed cells, handed to ncurses with one move.
class Run {
public:
    Run(int row, int column) : row_(row), first_(column) {}
    ~Run() { flush(); }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Starts a new run at `column` unless it continues this one.
    void skip_to(int column)
    {
        if (column == first_ + length_) return;
        flush();
        first_ = column;
    }
    void add(const cchar_t& cell)
    {
        if (length_ == capacity) flush();
        cells_[length_++] = cell;
    }

private:
    // Unlike adding one cell at a time, this takes the cells as they are
    // (a pair of 0 stays the terminal's colours) and never scrolls, so the
    // bottom-right cell needs no care.
    void flush()
    {
        if (length_ > 0) mvadd_wchnstr(row_, first_, cells_, length_);
        first_ += length_;
        length_ = 0;
    }
    static constexpr int capacity = 64;
    int row_;
    int first_;
    int length_ = 0;
    cchar_t cells_[capacity];
};

// What ncurses is given for `cell`; a blank takes the pen, a character sets it.
cchar_t shown_cell(const Cell& cell, ColourDepth depth, short background, Pen& pen)
{
    if (is_blank(cell.character)) return cell_of(L' ', pen.attributes, pen.pair);
    if (!pen.styled || pen.colour != cell.colour) pen.style = style_of(cell.colour, depth, background);
    pen.styled = true;
    pen.colour = cell.colour;
    const TerminalStyle style = pen.style;
    const attr_t attributes = style.bold ? A_BOLD : A_NORMAL;
    // Pair 0 is the terminal's own colours, whose background a blank must not take.
    if (style.pair != 0 || depth == ColourDepth::none) {
        pen.attributes = attributes;
        pen.pair = style.pair;
    }
    return cell_of(static_cast<unsigned char>(cell.character), attributes, style.pair);
}

} // namespace

Screen::Screen(ScreenWants wants, std::FILE* out, std::FILE* in) : mouse_(wants.mouse), out_(out), in_(in)
{
    termios found{};
    const bool have_modes = tcgetattr(fileno(out), &found) == 0;
    terminal_ = start_without_repeats(entry_to_start(wants, fileno(out)), out, in);
    if (!terminal_) throw std::runtime_error("this terminal type is not known; set TERM");
    set_term(terminal_);
    cbreak();
    noecho();
    nonl();
    stop_flow_control(fileno(out));
    nodelay(stdscr, TRUE);
    set_escdelay(escape_wait_ms);
    // Looking for typed input before every line sent costs a poll each time;
    // a key ends the run anyway, so nothing is gained by sending less.
    typeahead(-1);
    if (!has_capability("smcup")) after_leaving_ = capability_text("clear");
    if (have_modes) set_fault_restore(fileno(out), fault_restore_text(after_leaving_, mouse_), found);

    if (wants.colour && has_colors()) start_colours(wants);
    erase();
    // Until its screen has been left once, ncurses takes itself for a plain
    // terminfo user and writes after every cursor movement, over a hundred
    // writes a frame; leaving once before anything is drawn makes a frame one write.
    refresh();
    endwin();
    refresh();
    take_modes();
}

// The depth the terminal can draw, and a pair for each colour of it.
void Screen::start_colours(const ScreenWants& wants)
{
    start_color();
    if (wants.terminal_background && use_default_colors() == OK) background_ = -1;
    const char* colorterm = std::getenv("COLORTERM");
    depth_ = drawable_depth(colorterm ? colorterm : "", termname(), COLORS, wants.terminal_colours);
    // The cube takes a pair per entry, which not every entry has.
    if (depth_ == ColourDepth::palette256 && COLOR_PAIRS <= cube_pairs) depth_ = ColourDepth::sixteen;
    // Only pairs are defined; the user's palette itself is never changed. At
    // 24 bits pair 1 alone is fixed, for the blanks: black is a standard
    // colour under every entry.
    const int fixed = depth_ == ColourDepth::palette256 ? cube_pairs
                      : depth_ == ColourDepth::sixteen ? 16
                      : depth_ == ColourDepth::eight   ? 8
                      : depth_ == ColourDepth::truecolor ? 1
                                                       : 0;
    for (short i = 0; i < fixed && i < COLOR_PAIRS - 1; ++i) init_pair(static_cast<short>(i + 1), i, background_);
    if (fixed > 0 && !wants.terminal_background) bkgd(COLOR_PAIR(1) | ' ');
}

Screen::~Screen()
{
    give_back();
    if (drop_typeahead_) tcflush(fileno(in_), TCIFLUSH);
    set_fault_restore(-1, {}, termios{});
    delscreen(terminal_);
}

void Screen::take_modes()
{
    // Leaving ncurses forgets the keypad mode, so a resume must ask again.
    keypad(stdscr, TRUE);
    curs_set(0);
    if (!mouse_) return;
    mousemask(ALL_MOUSE_EVENTS | REPORT_MOUSE_POSITION, nullptr);
    mouseinterval(0);
    // ncurses knows nothing of this mode, so it is switched by hand each time.
    std::fputs(motion_on, out_);
    std::fflush(out_);
}

void Screen::give_back()
{
    if (mouse_) std::fputs(motion_off, out_);
    std::fflush(out_);
    endwin();
    std::fputs(after_leaving_.c_str(), out_);
    std::fflush(out_);
}

void Screen::suspend() { give_back(); }

void Screen::resume()
{
    // A resize while stopped is never signalled to this process.
    winsize size{};
    if (ioctl(fileno(out_), TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0 &&
        is_term_resized(size.ws_row, size.ws_col))
        resizeterm(size.ws_row, size.ws_col);
    repaint_all();
    refresh();
    take_modes();
}

int Screen::columns() const { return getmaxx(stdscr); }
int Screen::rows() const { return getmaxy(stdscr); }

void Screen::repaint_all()
{
    shown_ = CellGrid{};
    clearok(curscr, TRUE);
}

void Screen::draw(const CellGrid& grid)
{
    const bool same_size = shown_.columns == grid.columns && shown_.rows == grid.rows;
    const int height = std::min(grid.rows, rows());
    const int width = std::min(grid.columns, columns());
    Pen pen;
    pen.pair = depth_ != ColourDepth::none ? 1 : 0;
    for (int r = 0; r < height; ++r) {
        const ColumnSpan span = changed_columns(shown_, grid, r);
        draw_row(r, {span.first, std::min(span.end, width)}, grid.row(r), same_size ? shown_.row(r) : nullptr, pen);
    }
    shown_ = grid;
    refresh();
}

void Screen::draw_row(int row, ColumnSpan span, const Cell* cells, const Cell* before, Pen& pen) const
{
    Run run(row, span.first);
    int end = -1; // one past the last cell handed over
    for (int c = span.first; c < span.end; ++c) {
        if (before && looks_alike(before[c], cells[c])) continue;
        // ncurses sends a short unchanged stretch again rather than moving
        // over it, each cell in the pair it was drawn in: a colour change for
        // each blank of another pair. In the pen they cost none.
        if (end >= 0 && c - end <= blanks_sent_again && std::all_of(cells + end, cells + c, is_blank_cell))
            for (; end < c; ++end) run.add(cell_of(L' ', pen.attributes, pen.pair));
        run.skip_to(c);
        run.add(shown_cell(cells[c], depth_, background_, pen));
        end = c + 1;
    }
}

} // namespace gm
