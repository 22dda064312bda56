#pragma once
#include <csignal>

namespace gm {

// SIGINT, SIGTERM, SIGHUP and SIGQUIT only set a flag, which the loop reads
// and then leaves through its normal path, so that the terminal is restored
// and the window-system resources are released on every way out.
void catch_stop_signals();
bool stop_requested();
// The signal that asked to stop, 0 while none has.
int stop_signal();

} // namespace gm
