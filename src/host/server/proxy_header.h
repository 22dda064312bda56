#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>

namespace gm {

// The header a load balancer puts before a viewer's own bytes to say whose
// they are: the PROXY protocol, its text version 1 and its binary version 2.

// Version 1's line, "\r\n" included, is never longer.
inline constexpr std::size_t max_proxy_line = 107;
// Version 2's addresses and extensions. The format allows 65535 bytes; what a
// balancer sends is a few dozen, and a connection that is still only a header
// should not hold more.
inline constexpr std::size_t max_proxy_body = 1024;

enum class ProxyState { incomplete, done, bad };

struct ProxyRead {
    ProxyState state = ProxyState::incomplete;
    std::size_t consumed = 0; // the header's length, once done
    // The viewer's address and port; none when the balancer speaks for
    // itself (a health check) or names no IP address.
    std::optional<sockaddr_storage> source;
    std::string reason; // why it is refused, one line
};

// Reads the header at the start of `bytes`, which may still be arriving:
// more bytes never change a header that was done or refused.
ProxyRead read_proxy_header(std::string_view bytes);

// Whether the bytes begin with either version's whole signature.
bool starts_as_proxy_header(std::string_view bytes);

} // namespace gm
