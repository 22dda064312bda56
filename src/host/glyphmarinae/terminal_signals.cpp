#include "host/glyphmarinae/terminal_signals.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace gm {

namespace {

// Ended by default, not faults: these can wait for the loop.
constexpr int deferred[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,  SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE,
                            SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSTKFLT};
// Raised by the program's own failure; the handler cannot return to the loop.
constexpr int faults[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT};

volatile std::sig_atomic_t stop_number = 0;
volatile std::sig_atomic_t suspend_flag = 0;
sigset_t during_waits; // the mask the program started with, in force only while it waits

// Written by set_fault_restore while no fault handler can be running on it.
char fault_text[512];
volatile std::sig_atomic_t fault_text_size = 0;
int fault_fd = -1;
termios fault_modes{};
struct sigaction previous_fault_actions[NSIG];

extern "C" void on_deferred(int signal)
{
    if (stop_number == 0) stop_number = signal;
}

extern "C" void on_suspend(int) { suspend_flag = 1; }

extern "C" void on_fault(int signal)
{
    if (fault_text_size > 0) {
        // Only async-signal-safe calls here.
        ssize_t ignored = write(fault_fd, fault_text, static_cast<std::size_t>(fault_text_size));
        (void)ignored;
        tcsetattr(fault_fd, TCSANOW, &fault_modes);
    }
    // The action in place before ours (the default, or a sanitizer's) takes
    // the signal once this handler returns, the signal being blocked until then.
    sigaction(signal, &previous_fault_actions[signal], nullptr);
    raise(signal);
}

bool was_ignored(int signal)
{
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_IGN;
}

void install(int signal, void (*handler)(int), struct sigaction* previous = nullptr)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a wait for input returns at once
    sigaction(signal, &action, previous);
}

// Raised while blocked, the signal waits; unblocking delivers it, with its
// default action, before sigprocmask returns.
void take_default_action(int signal)
{
    install(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    raise(signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    sigprocmask(SIG_BLOCK, &only, nullptr);
}

} // namespace

void catch_signals()
{
    sigset_t waiting;
    sigemptyset(&waiting);
    auto defer = [&](int signal) {
        if (was_ignored(signal)) return;
        install(signal, on_deferred);
        sigaddset(&waiting, signal);
    };
    for (const int signal : deferred) defer(signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) defer(signal);
    if (!was_ignored(SIGTSTP)) {
        install(SIGTSTP, on_suspend);
        sigaddset(&waiting, SIGTSTP);
    }
    for (const int signal : faults) install(signal, on_fault, &previous_fault_actions[signal]);
    // ncurses' own handler takes a resize; let it fall only in a wait, which
    // it cuts short. Taken while a frame is drawn, it would leave ncurses
    // holding the resize key unseen and the aquarium at its old size.
    sigaddset(&waiting, SIGWINCH);
    // Between waits the caught signals are held back, so that none lands
    // between the loop's look at the records and its next wait.
    sigprocmask(SIG_BLOCK, &waiting, &during_waits);
}

int ending_signal() { return stop_number; }

bool take_suspend_request()
{
    const bool requested = suspend_flag != 0;
    suspend_flag = 0;
    return requested;
}

void suspend_self(const std::function<void()>& give_back)
{
    // Ctrl-Z stops the whole job at once: the rest of it (a wrapping script,
    // say) is stopped already and its shell may have taken the terminal back,
    // and a background process that sets terminal modes is stopped by
    // SIGTTOU, here half restored. Ignoring SIGTTOU lets the restoring finish.
    struct sigaction previous = {};
    install(SIGTTOU, SIG_IGN, &previous);
    give_back();
    sigaction(SIGTTOU, &previous, nullptr);
    take_default_action(SIGTSTP);
    install(SIGTSTP, on_suspend);
}

void release_signals() { sigprocmask(SIG_SETMASK, &during_waits, nullptr); }

void end_by(int signal)
{
    take_default_action(signal);
    // Only reached if the default action does not end the process.
    _exit(128 + signal);
}

int poll_for_input(pollfd& input, int timeout_ms)
{
    const timespec timeout = {timeout_ms / 1000, static_cast<long>(timeout_ms % 1000) * 1'000'000};
    return ppoll(&input, 1, timeout_ms < 0 ? nullptr : &timeout, &during_waits);
}

void set_fault_restore(int fd, std::string_view text, const termios& modes)
{
    fault_text_size = 0;
    fault_fd = fd;
    fault_modes = modes;
    const std::size_t size = std::min(text.size(), sizeof fault_text);
    if (size > 0) std::memcpy(fault_text, text.data(), size);
    fault_text_size = static_cast<std::sig_atomic_t>(size);
}

} // namespace gm
