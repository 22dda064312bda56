#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/common/option_table.h"
#include "host/server/address_range.h"

namespace gm {

enum class ServerMode { serve, help, version };

// Where to listen. `host` is a numeric address; "" is every address, IPv6
// and IPv4 alike, as is "::".
struct ListenAddress {
    std::string host;
    std::uint16_t port = 0;
    std::string text() const; // "127.0.0.1:8080", "[::1]:8080", "*:8080"
};

struct ServerOptions {
    ServerMode mode = ServerMode::serve;
    std::optional<ListenAddress> http;
    std::optional<ListenAddress> telnet;
    int max_viewers = 10000;
    int max_per_address = 8;
    std::int64_t session_limit = 3600; // seconds
    bool quiet = false;
    std::string user;     // "" when none was given
    std::string web_root; // the built web page's folder, "" for none
    bool reuse_port = false; // share the ports with other processes that ask the same
    std::vector<AddressRange> trusted_proxies; // whose connections start with a PROXY header
};

using ServerParseResult = ReadResult<ServerOptions>;

// A pure function of the arguments (without the program name), and of
// whether listeners were handed over, as systemd hands them.
ServerParseResult parse_server_options(const std::vector<std::string>& args, bool listeners_given = false);

// "ADDR:PORT", "[V6ADDR]:PORT" or "PORT".
std::optional<ListenAddress> parse_listen_address(std::string_view text);

std::string server_usage_text();

} // namespace gm
