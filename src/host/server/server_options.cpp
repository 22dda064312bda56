#include "host/server/server_options.h"

#include <arpa/inet.h>

#include "host/common/option_values.h"

namespace gm {

namespace {

std::string_view mode_name(ServerMode) { return "the server"; }

template <std::optional<ListenAddress> ServerOptions::*member>
std::string read_address(ServerOptions& o, std::string_view value)
{
    o.*member = parse_listen_address(value);
    if (o.*member) return {};
    const char* name = member == &ServerOptions::http ? "--http" : "--telnet";
    return std::string(name) + " wants ADDR:PORT, [ADDR]:PORT or PORT, not '" + std::string(value) + "'";
}

template <typename Number>
std::string read_count(std::string_view name, std::string_view value, Number low, Number high, Number& out)
{
    Number number = 0;
    if (!parse_number(value, number) || number < low || number > high)
        return std::string(name) + " wants a whole number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not '" + std::string(value) + "'";
    out = number;
    return {};
}

const OptionRule<ServerOptions> rules[] = {
    {"--help", "-h", false, every_mode, choose_mode<ServerMode::help>},
    {"--version", "", false, every_mode, choose_mode<ServerMode::version>},
    {"--http", "", true, every_mode, read_address<&ServerOptions::http>},
    {"--telnet", "", true, every_mode, read_address<&ServerOptions::telnet>},
    {"--max-viewers", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) { return read_count("--max-viewers", value, 1, 1'000'000, o.max_viewers); }},
    {"--max-per-address", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) {
         return read_count("--max-per-address", value, 1, 1'000'000, o.max_per_address);
     }},
    {"--session-limit", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) {
         return read_count<std::int64_t>("--session-limit", value, 1, 31'536'000, o.session_limit);
     }},
    {"--quiet", "", false, every_mode, switch_on<&ServerOptions::quiet>},
    {"--web-root", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) {
         if (value.empty()) return std::string("--web-root wants a folder");
         o.web_root = std::string(value);
         return std::string();
     }},
    {"--reuse-port", "", false, every_mode, switch_on<&ServerOptions::reuse_port>},
    {"--trusted-proxy", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) {
         const std::optional<AddressRange> range = parse_address_range(value);
         if (!range) return "--trusted-proxy wants ADDR or ADDR/BITS, not '" + std::string(value) + "'";
         o.trusted_proxies.push_back(*range);
         return std::string();
     },
     true},
    {"--user", "", true, every_mode,
     [](ServerOptions& o, std::string_view value) {
         if (value.empty()) return std::string("--user wants a user name");
         o.user = std::string(value);
         return std::string();
     }},
};

bool numeric_port(std::string_view text, std::uint16_t& port)
{
    return parse_number(text, port);
}

} // namespace

std::string ListenAddress::text() const
{
    const std::string shown = host.empty() ? "*" : host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return shown + ":" + std::to_string(port);
}

std::optional<ListenAddress> parse_listen_address(std::string_view text)
{
    ListenAddress address;
    std::string_view port = text;
    if (text.starts_with("[")) {
        const std::size_t close = text.find("]:");
        if (close == std::string_view::npos) return std::nullopt;
        address.host = std::string(text.substr(1, close - 1));
        port = text.substr(close + 2);
        in6_addr v6;
        if (inet_pton(AF_INET6, address.host.c_str(), &v6) != 1) return std::nullopt;
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        address.host = std::string(text.substr(0, colon));
        port = text.substr(colon + 1);
        in_addr v4;
        if (inet_pton(AF_INET, address.host.c_str(), &v4) != 1) return std::nullopt;
    }
    if (!numeric_port(port, address.port)) return std::nullopt;
    return address;
}

ServerParseResult parse_server_options(const std::vector<std::string>& args, bool listeners_given)
{
    ServerParseResult result = read_options<ServerOptions>(rules, args, mode_name);
    if (result.error.empty() && result.options.mode == ServerMode::serve && !listeners_given && !result.options.http &&
        !result.options.telnet)
        result.error = "nothing to serve: give --http ADDR:PORT, --telnet ADDR:PORT or both";
    return result;
}

std::string server_usage_text()
{
    return "Usage: glyphmarinae-server [OPTION]...\n"
           "Streams the aquarium to terminals over the network. Watch it with\n"
           "  curl -N \"http://HOST:PORT/?size=${COLUMNS}x${LINES}\"\n"
           "or with telnet HOST PORT. The URL takes size=COLSxROWS (1 to 1000 each,\n"
           "default 80x24), seed=N, ticks=N (the stream ends after the first frame and\n"
           "N more) and colour=truecolor|256|16|8|none (default 256).\n"
           "\n"
           "Options:\n"
           "  --http ADDR:PORT       serve HTTP there; [ADDR]:PORT for IPv6, [::]:PORT or\n"
           "                         PORT alone for every address, IPv6 and IPv4\n"
           "  --telnet ADDR:PORT     serve telnet there, written the same way\n"
           "  --max-viewers N        viewers at once in all (default 10000)\n"
           "  --max-per-address N    viewers at once from one IPv4 address or one IPv6\n"
           "                         /64 (default 8)\n"
           "  --session-limit SECONDS  a viewer's longest session (default 3600)\n"
           "  --quiet                write no line for refused or failed connections\n"
           "  --user NAME            started as root, become NAME once listening\n"
           "  --reuse-port           let other processes with this option listen on the\n"
           "                         same ports; each has its own limits\n"
           "  --trusted-proxy ADDR   connections from ADDR (or ADDR/BITS; repeatable) must\n"
           "                         start with a PROXY header, version 1 or 2, and count\n"
           "                         as the viewer it names; from elsewhere one is refused\n"
           "  --web-root DIR         give browsers the built web page in DIR, read-only\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "GET /status, from loopback only, gives the server's counters. Sockets that\n"
           "systemd hands over, named http or telnet, are served as --http and --telnet.\n"
           "\n"
           "Exit status: 0 after SIGTERM or SIGINT, 1 when it cannot listen or drop\n"
           "root, 2 for a bad option or no listener.\n";
}

} // namespace gm
