#pragma once
#include "host/server/server_options.h"

namespace gm {

// Listens where the options say, drops root if asked, and serves until
// SIGTERM or SIGINT; the exit status.
int serve(const ServerOptions& options);

} // namespace gm
