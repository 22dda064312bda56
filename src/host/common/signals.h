#pragma once
#include <csignal>
#include <cstdint>
#include <poll.h>
#include <span>

namespace gm {

// The signals that end a window program. Each only records itself; the loop
// reads the record and leaves through its normal path, so that the terminal
// is restored and the window-system resources are released on every way out.
inline constexpr int window_stop_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

enum class Held {
    never,         // a loop that never waits looks at the record between frames
    outside_waits, // delivered only inside wait_for_input
};

struct StopSignals {
    std::span<const int> signals = window_stop_signals;
    Held held = Held::never;
    bool keep_ignored = false; // a signal ignored at the start (nohup) stays ignored
};

void catch_stop_signals(const StopSignals& how = {});
bool stop_requested();
// The first signal that asked to stop, 0 while none has.
int stop_signal();

// Holds `signal` back outside wait_for_input, so that none lands between the
// loop's look at the records and its next wait, where it would cost a frame.
void hold_outside_waits(int signal);
// poll() during which, and only during which, the held signals are
// delivered. A negative timeout waits without limit, as poll()'s does.
int wait_for_input(std::span<pollfd> descriptors, std::int64_t timeout_ms);
// Lets through what arrived after the last wait, so that it is recorded too.
void release_held_signals();

// The pieces the terminal builds its other signals from. No SA_RESTART, so
// that a wait returns at once.
void install_handler(int signal, void (*handler)(int), struct sigaction* previous = nullptr);
bool was_ignored(int signal);

} // namespace gm
