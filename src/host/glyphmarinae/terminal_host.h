#pragma once
#include "host/glyphmarinae/options.h"

namespace gm {

// Runs the aquarium full-screen in the current terminal until a key, a click,
// a qualifying mouse movement or a signal ends it (in ambient mode only q, Esc,
// Ctrl-C or a signal). Returns the exit status.
int run_terminal(const Options& options);

} // namespace gm
