#include "host/common/signals.h"
#include <initializer_list>

namespace gm {

namespace {

volatile std::sig_atomic_t stop_flag = 0;

extern "C" void on_stop_signal(int signal) { stop_flag = signal; }

} // namespace

void catch_stop_signals()
{
    struct sigaction action = {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: the wait for input returns at once
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(signal, &action, nullptr);
}

bool stop_requested() { return stop_flag != 0; }

int stop_signal() { return stop_flag; }

} // namespace gm
