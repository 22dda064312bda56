// Kept apart: term.h defines macros (columns, lines, ...) that would clash
// with ordinary names elsewhere.
#include <curses.h>
#include <term.h>

#include "host/terminal/terminal_quirks.h"

namespace gm {

void avoid_repeat_sequences()
{
    // Many terminals that call themselves xterm (mosh, older emulators,
    // some recorders and players) do not repeat a character on request, and
    // would draw a water line as a single '~'. Plain characters cost a few
    // bytes more and show everywhere.
    if (cur_term) repeat_char = nullptr;
}

} // namespace gm
