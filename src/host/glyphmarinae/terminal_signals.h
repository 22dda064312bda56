#pragma once
#include <csignal>
#include <functional>
#include <poll.h>
#include <string_view>
#include <termios.h>

namespace gm {

// Every signal whose default action ends a process is caught, so that the
// terminal is handed back before the process ends, and the process then ends
// by that same signal, as its parent expects. Signals that were ignored when
// the program started stay ignored.
//
// Signals that can wait (SIGINT, SIGTERM, SIGHUP, SIGUSR1, ...) only record
// themselves; the run loop sees the record, leaves through its normal path and
// ends_by the signal afterwards. Faults (SIGSEGV, SIGABRT, ...) cannot return
// to the loop: their handler writes the terminal's restoring text itself.
// SIGTSTP is recorded as a request to suspend.
void catch_signals();

// The first ending signal caught, or 0.
int ending_signal();

// Whether SIGTSTP arrived since the last call.
bool take_suspend_request();

// Runs `give_back` (the terminal's restoring), then stops the process as
// SIGTSTP's default action would; returns once it is continued.
void suspend_self(const std::function<void()>& give_back);

// Lets through what arrived after the loop's last wait, so it is recorded too.
void release_signals();

// Ends the process by `signal` with its default action.
[[noreturn]] void end_by(int signal);

// poll() during which, and only during which, the caught signals are
// delivered, so that one arriving just before the wait still cuts it short.
// A negative timeout waits without limit, as poll()'s does.
int poll_for_input(pollfd& input, int timeout_ms);

// What a fault's handler writes to `fd` and the modes it sets there; an empty
// text turns the restoring off.
void set_fault_restore(int fd, std::string_view text, const termios& modes);

} // namespace gm
