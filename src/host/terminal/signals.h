#pragma once
#include <csignal>

namespace gm {

// SIGINT, SIGTERM, SIGHUP and SIGQUIT only set a flag, which the loop reads
// and then leaves through its normal path, restoring the terminal.
void catch_stop_signals();
bool stop_requested();

} // namespace gm
