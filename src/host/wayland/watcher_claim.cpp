#include "host/wayland/watcher_claim.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace gm {

namespace {

// The session is its runtime folder and its compositor's socket there. The
// two paths together can be longer than a socket name, so the name carries
// their 64-bit FNV-1a hash.
std::string session_name()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    std::string session = std::string(runtime ? runtime : "") + "/" + (display ? display : "wayland-0");
    if (display && display[0] == '/') session = display;
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : session) hash = (hash ^ c) * 1099511628211ull;
    static const char digits[] = "0123456789abcdef";
    std::string name = "glyphmarinae-wayland-idle-";
    for (int shift = 60; shift >= 0; shift -= 4) name += digits[(hash >> shift) & 0xf];
    return name;
}

} // namespace

int claim_idle_watcher(std::string& refusal)
{
    // An abstract socket name: the kernel lets it go with the last
    // descriptor, so that a watcher that was killed leaves nothing behind.
    const int claim = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (claim < 0) {
        refusal = std::string("cannot make a socket to claim the session: ") + std::strerror(errno);
        return -1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = session_name();
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (bind(claim, reinterpret_cast<const sockaddr*>(&address), length) == 0) return claim;
    const int why = errno;
    close(claim);
    refusal = why == EADDRINUSE ? "another glyphmarinae-wayland --idle already watches this Wayland session"
                                : std::string("cannot claim the session for an idle watcher: ") + std::strerror(why);
    return -1;
}

} // namespace gm
