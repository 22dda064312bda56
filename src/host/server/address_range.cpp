#include "host/server/address_range.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <string>

#include "host/common/option_values.h"

namespace gm {

std::optional<AddressRange> parse_address_range(std::string_view text)
{
    AddressRange range;
    const std::size_t slash = text.find('/');
    const std::string address(text.substr(0, slash));
    if (inet_pton(AF_INET, address.c_str(), range.bytes.data()) == 1) range.family = AF_INET;
    else if (inet_pton(AF_INET6, address.c_str(), range.bytes.data()) == 1) range.family = AF_INET6;
    else return std::nullopt;
    const int widest = range.family == AF_INET ? 32 : 128;
    range.bits = widest;
    if (slash != std::string_view::npos && (!parse_number(text.substr(slash + 1), range.bits) || range.bits < 0 || range.bits > widest))
        return std::nullopt;
    return range;
}

namespace {

bool matches(const AddressRange& range, sa_family_t family, const unsigned char* bytes)
{
    if (range.family != family) return false;
    const int whole = range.bits / 8, rest = range.bits % 8;
    if (std::memcmp(range.bytes.data(), bytes, static_cast<std::size_t>(whole)) != 0) return false;
    const auto mask = static_cast<unsigned char>(0xff00 >> rest);
    return rest == 0 || ((range.bytes[whole] ^ bytes[whole]) & mask) == 0;
}

} // namespace

PeerBytes peer_bytes(const sockaddr* peer)
{
    if (peer->sa_family == AF_INET)
        return {AF_INET, reinterpret_cast<const unsigned char*>(&reinterpret_cast<const sockaddr_in*>(peer)->sin_addr)};
    if (peer->sa_family != AF_INET6) return {};
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(peer)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) return {AF_INET, v6.s6_addr + 12};
    return {AF_INET6, v6.s6_addr};
}

bool in_ranges(const std::vector<AddressRange>& ranges, const sockaddr* peer)
{
    const PeerBytes address = peer_bytes(peer);
    if (!address.bytes) return false;
    for (const AddressRange& range : ranges)
        if (matches(range, address.family, address.bytes)) return true;
    return false;
}

} // namespace gm
