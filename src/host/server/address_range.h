#pragma once
#include <array>
#include <optional>
#include <string_view>
#include <sys/socket.h>
#include <vector>

namespace gm {

// An address, or a network of them: 127.0.0.1, 10.1.0.0/16, ::1, fd00::/8.
struct AddressRange {
    sa_family_t family = AF_INET;
    std::array<unsigned char, 16> bytes{};
    int bits = 32; // how many leading bits must match
};

std::optional<AddressRange> parse_address_range(std::string_view text);

// A peer's address as the family and bytes it is counted and matched by:
// an IPv4 peer that an IPv6 socket shows as ::ffff:a.b.c.d is the IPv4
// address it carries. AF_UNSPEC and no bytes for any other kind of socket.
struct PeerBytes {
    sa_family_t family = AF_UNSPEC;
    const unsigned char* bytes = nullptr; // 4 or 16, into the peer's own record
};
PeerBytes peer_bytes(const sockaddr* peer);

// Whether the peer is in any of the ranges; an IPv4 peer that an IPv6
// socket shows as ::ffff:a.b.c.d is taken as the IPv4 address it is.
bool in_ranges(const std::vector<AddressRange>& ranges, const sockaddr* peer);

} // namespace gm
