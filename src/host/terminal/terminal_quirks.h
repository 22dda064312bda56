#pragma once

namespace gm {

// Keeps ncurses from sending the "repeat the last character" sequence for
// the current terminal.
void avoid_repeat_sequences();

} // namespace gm
