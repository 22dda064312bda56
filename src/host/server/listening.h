#pragma once
#include <string>

#include "host/server/server_options.h"

namespace gm {

// The sockets are bound while the server may still be root; these are the
// only steps that need it.

// The socket listening at `where`, in `fd`; the reason it cannot be, or "".
std::string listen_at(const ListenAddress& where, int& fd);

// Root only binds; the rest runs as `user`. The reason it cannot, or "".
std::string drop_root(const std::string& user);

} // namespace gm
