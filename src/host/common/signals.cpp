#include "host/common/signals.h"

namespace gm {

namespace {

volatile std::sig_atomic_t stop_number = 0;
bool holding = false;
sigset_t during_waits; // the mask the program started with, in force only while it waits

extern "C" void on_stop_signal(int signal)
{
    if (stop_number == 0) stop_number = signal;
}

} // namespace

void install_handler(int signal, void (*handler)(int), struct sigaction* previous)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(signal, &action, previous);
}

bool was_ignored(int signal)
{
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_IGN;
}

void catch_stop_signals(const StopSignals& how)
{
    for (const int signal : how.signals) {
        if (how.keep_ignored && was_ignored(signal)) continue;
        install_handler(signal, on_stop_signal);
        if (how.held == Held::outside_waits) hold_outside_waits(signal);
    }
}

bool stop_requested() { return stop_number != 0; }

int stop_signal() { return stop_number; }

void hold_outside_waits(int signal)
{
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    // The mask for the waits is the one found before anything was held.
    sigprocmask(SIG_BLOCK, &only, holding ? nullptr : &during_waits);
    holding = true;
}

int wait_for_input(std::span<pollfd> descriptors, std::int64_t timeout_ms)
{
    const timespec timeout = {static_cast<time_t>(timeout_ms / 1000), static_cast<long>(timeout_ms % 1000) * 1'000'000};
    return ppoll(descriptors.data(), descriptors.size(), timeout_ms < 0 ? nullptr : &timeout,
                 holding ? &during_waits : nullptr);
}

void release_held_signals()
{
    if (holding) sigprocmask(SIG_SETMASK, &during_waits, nullptr);
}

} // namespace gm
