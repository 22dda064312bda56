#include "host/server/handed_sockets.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#if GLYPH_SYSTEMD
#include <systemd/sd-daemon.h>
#endif

namespace gm {

#if GLYPH_SYSTEMD

std::string sockets_from_systemd(std::vector<HandedSocket>& sockets)
{
    char** names = nullptr;
    // The variables go, so that nothing this process starts takes the sockets for its own.
    const int count = sd_listen_fds_with_names(1, &names);
    if (count < 0) return std::string("cannot take the sockets systemd hands over: ") + std::strerror(-count);
    std::string reason;
    for (int i = 0; i < count; ++i) {
        const int fd = SD_LISTEN_FDS_START + i;
        sockets.push_back({fd, names[i]});
        std::free(names[i]);
        // The event loop waits on them; a stream socket that listens is all it can serve.
        const int flags = fcntl(fd, F_GETFL);
        if (sd_is_socket(fd, AF_UNSPEC, SOCK_STREAM, 1) <= 0)
            reason = "systemd handed over '" + sockets.back().name + "', which is no listening stream socket";
        else if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
            reason = std::string("cannot make a socket from systemd non-blocking: ") + std::strerror(errno);
    }
    std::free(names);
    return reason;
}

#else

std::string sockets_from_systemd(std::vector<HandedSocket>&) { return {}; }

#endif

} // namespace gm
