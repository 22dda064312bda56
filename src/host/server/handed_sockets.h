#pragma once
#include <string>
#include <vector>

namespace gm {

// A listening socket that the service manager opened and handed over, by
// the name its unit gave it (FileDescriptorName=).
struct HandedSocket {
    int fd = -1;
    std::string name;
};

// The sockets systemd handed to this process, none when it handed none or
// the server was built without libsystemd; the reason they cannot be used, or "".
std::string sockets_from_systemd(std::vector<HandedSocket>& sockets);

} // namespace gm
