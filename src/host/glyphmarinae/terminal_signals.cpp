#include "host/glyphmarinae/terminal_signals.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "host/common/signals.h"

namespace gm {

namespace {

// Ended by default, not faults: these can wait for the loop.
constexpr int deferred[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,  SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE,
                            SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSTKFLT};
// Raised by the program's own failure; the handler cannot return to the loop.
constexpr int faults[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT};

volatile std::sig_atomic_t suspend_flag = 0;

// Written by set_fault_restore while no fault handler can be running on it.
char fault_text[512];
volatile std::sig_atomic_t fault_text_size = 0;
int fault_fd = -1;
termios fault_modes{};
struct sigaction previous_fault_actions[NSIG];

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

// Raised while blocked, the signal waits; unblocking delivers it, with its
// default action, before sigprocmask returns.
void take_default_action(int signal)
{
    install_handler(signal, SIG_DFL);
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
    std::vector<int> stops(std::begin(deferred), std::end(deferred));
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) stops.push_back(signal);
    catch_stop_signals({.signals = stops, .held = Held::outside_waits, .keep_ignored = true});
    if (!was_ignored(SIGTSTP)) {
        install_handler(SIGTSTP, on_suspend);
        hold_outside_waits(SIGTSTP);
    }
    for (const int signal : faults) install_handler(signal, on_fault, &previous_fault_actions[signal]);
    // ncurses' own handler takes a resize; let it fall only in a wait, which
    // it cuts short. Taken while a frame is drawn, it would leave ncurses
    // holding the resize key unseen and the aquarium at its old size.
    hold_outside_waits(SIGWINCH);
}

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
    install_handler(SIGTTOU, SIG_IGN, &previous);
    give_back();
    sigaction(SIGTTOU, &previous, nullptr);
    take_default_action(SIGTSTP);
    install_handler(SIGTSTP, on_suspend);
}

void end_by(int signal)
{
    take_default_action(signal);
    // Only reached if the default action does not end the process.
    _exit(128 + signal);
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
