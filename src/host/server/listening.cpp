#include "host/server/listening.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace gm {

std::string listen_at(const ListenAddress& where, bool share_port, int& fd)
{
    const bool every = where.host.empty() || where.host == "::";
    const bool v6 = every || where.host.find(':') != std::string::npos;
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (v6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&storage);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(where.port);
        if (!every) inet_pton(AF_INET6, where.host.c_str(), &a->sin6_addr);
        length = sizeof *a;
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&storage);
        a->sin_family = AF_INET;
        a->sin_port = htons(where.port);
        inet_pton(AF_INET, where.host.c_str(), &a->sin_addr);
        length = sizeof *a;
    }
    fd = socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int error = errno;
    if (fd >= 0) {
        const int on = 1, off = 0;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        // The kernel then spreads the new connections over the processes.
        if (share_port) setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on);
        // A port alone, or [::], takes IPv4 too; [::1] is only itself.
        if (v6) setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, every ? &off : &on, sizeof on);
        // The kernel's longest queue: a crowd arriving at once overflows a
        // short one, and each handshake dropped waits a second or more.
        if (bind(fd, reinterpret_cast<sockaddr*>(&storage), length) == 0 && listen(fd, SOMAXCONN) == 0) return {};
        error = errno;
        close(fd);
        fd = -1;
    }
    return "cannot listen on " + where.text() + ": " + std::strerror(error);
}

std::string drop_root(const std::string& user)
{
    if (geteuid() != 0) return {};
    if (user.empty()) return "will not run as root: give --user NAME to become once listening";
    const passwd* entry = getpwnam(user.c_str());
    if (entry == nullptr) return "no user named '" + user + "'";
    if (entry->pw_uid == 0) return "--user names root";
    if (setgroups(0, nullptr) != 0 || setgid(entry->pw_gid) != 0 || setuid(entry->pw_uid) != 0 || setuid(0) == 0)
        return "cannot become " + user + ": " + std::strerror(errno);
    return {};
}

} // namespace gm
