#pragma once
#include <string>

#include "host/server/server_options.h"

namespace gm {

// The sockets are bound while the server may still be root; these are the
// only steps that need it.

// The socket listening at `where`, in `fd`; the reason it cannot be, or "".
// With `share_port`, other processes that ask the same may listen there too.
std::string listen_at(const ListenAddress& where, bool share_port, int& fd);

// Root only binds; the rest runs as `user`. The reason it cannot, or "".
std::string drop_root(const std::string& user);

} // namespace gm
