#include "host/server/proxy_header.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <vector>

#include "host/common/option_values.h"

namespace gm {

namespace {

constexpr std::string_view text_start = "PROXY ";
constexpr std::string_view binary_start{"\r\n\r\n\0\r\nQUIT\n", 12};
constexpr std::size_t binary_fixed = 16; // the signature, version and command, family, length

ProxyRead refused(std::string reason)
{
    ProxyRead read;
    read.state = ProxyState::bad;
    read.reason = std::move(reason);
    return read;
}

ProxyRead done(std::size_t consumed, std::optional<sockaddr_storage> source = std::nullopt)
{
    ProxyRead read;
    read.state = ProxyState::done;
    read.consumed = consumed;
    read.source = source;
    return read;
}

bool begins_with_prefix_of(std::string_view bytes, std::string_view start)
{
    const std::size_t n = std::min(bytes.size(), start.size());
    return bytes.substr(0, n) == start.substr(0, n);
}

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t space = std::min(line.find(' ', at), line.size());
        out.push_back(line.substr(at, space - at));
        at = space + 1;
    }
    return out;
}

// The source of a TCP4 or TCP6 line; none if any of its four fields is off.
std::optional<sockaddr_storage> text_source(const std::vector<std::string_view>& fields, bool v6)
{
    std::uint16_t source_port = 0, destination_port = 0;
    if (fields.size() != 5 || !parse_number(fields[3], source_port) || !parse_number(fields[4], destination_port))
        return std::nullopt;
    const std::string source(fields[1]), destination(fields[2]);
    sockaddr_storage storage{};
    unsigned char ignored[16];
    const int family = v6 ? AF_INET6 : AF_INET;
    void* where = v6 ? static_cast<void*>(&reinterpret_cast<sockaddr_in6*>(&storage)->sin6_addr)
                     : static_cast<void*>(&reinterpret_cast<sockaddr_in*>(&storage)->sin_addr);
    if (inet_pton(family, source.c_str(), where) != 1 || inet_pton(family, destination.c_str(), ignored) != 1)
        return std::nullopt;
    storage.ss_family = static_cast<sa_family_t>(family);
    if (v6) reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port = htons(source_port);
    else reinterpret_cast<sockaddr_in*>(&storage)->sin_port = htons(source_port);
    return storage;
}

ProxyRead read_text(std::string_view bytes)
{
    const std::size_t end = bytes.substr(0, max_proxy_line).find("\r\n");
    if (end == std::string_view::npos)
        return bytes.size() >= max_proxy_line ? refused("the PROXY line is longer than 107 bytes") : ProxyRead{};
    for (char c : bytes.substr(0, end))
        if (c < 0x20 || c > 0x7e) return refused("the PROXY line has a byte that is not printable");
    const std::vector<std::string_view> fields = words(bytes.substr(text_start.size(), end - text_start.size()));
    // UNKNOWN may be followed by anything, to be ignored.
    if (fields[0] == "UNKNOWN") return done(end + 2);
    if (fields[0] != "TCP4" && fields[0] != "TCP6") return refused("the PROXY line names no TCP4, TCP6 or UNKNOWN");
    const std::optional<sockaddr_storage> source = text_source(fields, fields[0] == "TCP6");
    if (!source) return refused("the PROXY line's addresses or ports are broken");
    return done(end + 2, source);
}

sockaddr_storage binary_source(const unsigned char* body, bool v6)
{
    sockaddr_storage storage{};
    std::uint16_t port = 0;
    if (v6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&storage);
        a->sin6_family = AF_INET6;
        std::memcpy(&a->sin6_addr, body, 16);
        std::memcpy(&port, body + 32, 2);
        a->sin6_port = port;
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&storage);
        a->sin_family = AF_INET;
        std::memcpy(&a->sin_addr, body, 4);
        std::memcpy(&port, body + 8, 2);
        a->sin_port = port;
    }
    return storage;
}

ProxyRead read_binary(std::string_view bytes)
{
    if (bytes.size() < binary_fixed) return {};
    const auto* header = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned version = header[12] >> 4, command = header[12] & 0x0f, family = header[13] >> 4;
    const std::size_t length = static_cast<std::size_t>(header[14]) << 8 | header[15];
    if (version != 2) return refused("the PROXY header's version is not 2");
    if (command > 1) return refused("the PROXY header's command is neither LOCAL nor PROXY");
    if (length > max_proxy_body) return refused("the PROXY header is longer than " + std::to_string(max_proxy_body) + " bytes");
    if (bytes.size() < binary_fixed + length) return {};
    // A LOCAL header is the balancer's own connection, a health check; a
    // family other than IPv4 and IPv6 says nothing of use about the viewer.
    if (command == 0 || (family != 1 && family != 2)) return done(binary_fixed + length);
    const bool v6 = family == 2;
    if (length < (v6 ? 36u : 12u)) return refused("the PROXY header is too short for its addresses");
    return done(binary_fixed + length, binary_source(header + binary_fixed, v6));
}

} // namespace

bool starts_as_proxy_header(std::string_view bytes)
{
    return bytes.starts_with(text_start) || bytes.starts_with(binary_start);
}

ProxyRead read_proxy_header(std::string_view bytes)
{
    if (bytes.starts_with(text_start)) return read_text(bytes);
    if (bytes.starts_with(binary_start)) return read_binary(bytes);
    if (begins_with_prefix_of(bytes, text_start) || begins_with_prefix_of(bytes, binary_start)) return {};
    return refused("a trusted proxy's connection does not start with a PROXY header");
}

} // namespace gm
