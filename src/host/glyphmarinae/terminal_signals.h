#pragma once
#include <csignal>
#include <functional>
#include <string_view>
#include <termios.h>

namespace gm {

// Every signal whose default action ends a process is caught, so that the
// terminal is handed back before the process ends, and the process then ends
// by that same signal, as its parent expects. Signals that were ignored when
// the program started stay ignored.
//
// Signals that can wait (SIGINT, SIGTERM, SIGHUP, SIGUSR1, ...) are the stop
// signals of host/common/signals.h, held back outside the loop's waits: the
// loop sees stop_signal(), leaves through its normal path, lets the rest
// through with release_held_signals() and ends_by the signal afterwards. Faults (SIGSEGV, SIGABRT, ...) cannot return
// to the loop: their handler writes the terminal's restoring text itself.
// SIGTSTP is recorded as a request to suspend; SIGWINCH, whose handler is
// ncurses', is held back outside the waits as well.
void catch_signals();

// Whether SIGTSTP arrived since the last call.
bool take_suspend_request();

// Runs `give_back` (the terminal's restoring), then stops the process as
// SIGTSTP's default action would; returns once it is continued.
void suspend_self(const std::function<void()>& give_back);

// Ends the process by `signal` with its default action.
[[noreturn]] void end_by(int signal);

// What a fault's handler writes to `fd` and the modes it sets there; an empty
// text turns the restoring off.
void set_fault_restore(int fd, std::string_view text, const termios& modes);

} // namespace gm
