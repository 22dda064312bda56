#pragma once
#include <vector>

#include "host/server/handed_sockets.h"
#include "host/server/server_options.h"

namespace gm {

// Listens where the options say and on the sockets handed over, drops root
// if asked, and serves until SIGTERM or SIGINT; the exit status.
int serve(const ServerOptions& options, const std::vector<HandedSocket>& handed);

} // namespace gm
