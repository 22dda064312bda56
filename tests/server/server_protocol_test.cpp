#include <arpa/inet.h>
#include <cstring>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include "host/common/colour_rule.h"
#include "host/server/address_range.h"
#include "host/server/http_request.h"
#include "host/server/proxy_header.h"
#include "host/server/telnet_negotiation.h"

namespace gm {
namespace {

TEST(RequestHead, ReadsOnlyWhatIsWholeAndRefusesWhatIsBroken)
{
    struct Case {
        std::string bytes;
        HeadState state;
        std::string reason_start;
    };
    const Case cases[] = {
        {"GET /?size=10x5 HTTP/1.1\r\nHost: a\r\n", HeadState::incomplete, ""},
        {"GET /?size=10x5 HTTP/1.1\r\nHost: a\r\n\r\n", HeadState::complete, ""},
        {"GET / HTTP/1.0\n\n", HeadState::complete, ""},
        {"GET / HTTP/1.1\r\n\r", HeadState::incomplete, ""},
        {"GET / HTTP/2\r\n\r\n", HeadState::bad, "only HTTP/1.0"},
        {"GET\r\n\r\n", HeadState::bad, "the request line"},
        {"GET x HTTP/1.1\r\n\r\n", HeadState::bad, "the request's target is not"},
        {"GET /%zz HTTP/1.1\r\n\r\n", HeadState::bad, "the request's path has a broken"},
        {"GET /%00 HTTP/1.1\r\n\r\n", HeadState::bad, "the request's path has a broken"},
        {"GET / HTTP/1.1\r\nno colon\r\n\r\n", HeadState::bad, "a header line has no name"},
        {"GET / HTTP/1.1\r\nA: \x01\r\n\r\n", HeadState::bad, "a header's value"},
        {std::string(max_request_head, 'G'), HeadState::bad, "the request's head is longer"},
        {"GET / HTTP/1.1\r\nX: " + std::string(max_request_head, 'x') + "\r\n\r\n", HeadState::bad, "the request's head is longer"},
    };
    for (const Case& c : cases) {
        const HeadRead read = read_request_head(c.bytes);
        EXPECT_EQ(read.state, c.state) << c.bytes.substr(0, 60);
        EXPECT_EQ(read.reason.substr(0, c.reason_start.size()), c.reason_start) << c.bytes.substr(0, 60);
    }
    const HeadRead browser = read_request_head("GET /status?x HTTP/1.1\r\nHOST: h:1\r\naccept: text/plain;q=1, Text/HTML;q=0.9\r\n\r\n");
    EXPECT_EQ(browser.head.path, "/status");
    EXPECT_EQ(browser.head.query, "x");
    EXPECT_EQ(browser.head.host, "h:1");
    EXPECT_TRUE(browser.head.wants_html);
}

TEST(ViewQuery, TakesEachParameterOnceWithinItsRange)
{
    struct Case {
        std::string query;
        std::string reason_start; // "" when taken
    };
    const Case cases[] = {
        {"", ""},
        {"size=1x1&seed=0&ticks=0&colour=none", ""},
        {"size=1000x1000&seed=4294967295&colour=truecolor", ""},
        {"size=%31%30x2&&color=8", ""},
        {"size=0x5", "size wants"},
        {"size=1001x5", "size wants"},
        {"size=10x", "size wants"},
        {"size=10X5", "size wants"},
        {"seed=4294967296", "seed wants"},
        {"seed=-1", "seed wants"},
        {"ticks=1000000001", "ticks wants"},
        {"colour=24", "colour wants"},
        {"size=2x2&size=2x2", "size is given twice"},
        {"colour=8&color=8", "color is given twice"},
        {"speed=3", "unknown parameter 'speed'"},
        {"seed=%4", "a query parameter has a broken escape"},
    };
    for (const Case& c : cases) {
        ViewRequest request;
        const std::string reason = read_view_query(c.query, request);
        EXPECT_EQ(reason.substr(0, c.reason_start.size()), c.reason_start) << c.query;
        EXPECT_EQ(reason.empty(), c.reason_start.empty()) << c.query << ": " << reason;
    }
    ViewRequest request;
    ASSERT_EQ(read_view_query("size=%31%30x2&ticks=5&colour=16", request), "");
    EXPECT_EQ(request.size, (ViewSize{10, 2}));
    EXPECT_EQ(request.ticks, 5);
    EXPECT_EQ(request.depth, ColourDepth::sixteen);
    EXPECT_FALSE(request.seed);
}

TEST(ColourRule, DepthFromTheTerminalAndNearestCubeEntry)
{
    EXPECT_EQ(colour_depth_for("truecolor", "xterm", 8), ColourDepth::truecolor);
    EXPECT_EQ(colour_depth_for("24bit", "", 0), ColourDepth::truecolor);
    EXPECT_EQ(colour_depth_for("", "xterm-direct", 8), ColourDepth::truecolor);
    EXPECT_EQ(colour_depth_for("yes", "xterm-256color", 256), ColourDepth::palette256);
    EXPECT_EQ(colour_depth_for("", "xterm", 16), ColourDepth::sixteen);
    EXPECT_EQ(colour_depth_for("", "vt220", 8), ColourDepth::eight);
    EXPECT_EQ(colour_depth_for("", "dumb", 2), ColourDepth::none);
    // Channel levels 0, 95, 135, 175, 215, 255: 47 is nearer 0, 48 nearer
    // 95, and 115, halfway between 95 and 135, stays with the lower.
    struct Case {
        Colour colour;
        int index;
    };
    for (const Case c : {Case{0x000000, 16}, Case{0xFFFFFF, 231}, Case{0x00002F, 16}, Case{0x000030, 16 + 36},
                         Case{0x007300, 16 + 6}, Case{0xAA0000, 16 + 3}, Case{0x0000FF, 16 + 5 * 36}})
        EXPECT_EQ(nearest_cube_index(c.colour), c.index) << std::hex << c.colour;
    std::string out;
    append_foreground(out, 0x3020FF, ColourDepth::truecolor);
    append_foreground(out, 0x0000AA, ColourDepth::sixteen);
    append_foreground(out, 0x0000FF, ColourDepth::eight);
    append_foreground(out, 0x0000FF, ColourDepth::none);
    EXPECT_EQ(out, "\x1b[38;2;255;32;48m\x1b[31m\x1b[31m");
}

constexpr char IAC = '\xff', SB = '\xfa', SE = '\xf0', WILL = '\xfb', WONT = '\xfc', NAWS = '\x1f', TTYPE = '\x18';

std::string naws(std::string payload) { return std::string{IAC, SB, NAWS} + payload + std::string{IAC, SE}; }

TEST(TelnetNegotiation, WindowSizesAreUndoubledClampedAndBounded)
{
    struct Case {
        std::string bytes;
        ViewSize size;
        bool fails;
    };
    const std::string ff{IAC, IAC};
    const Case cases[] = {
        {naws(std::string{0, 0, 0, 0}), {80, 24}, false},
        {naws(std::string{0, 100, 0, 30}), {100, 30}, false},
        {naws(std::string{0} + ff + std::string{0} + ff), {255, 255}, false},
        {naws(ff + ff + ff + ff), {1000, 1000}, false},
        {naws(std::string{3, '\xe8', 3, '\xe9'}), {1000, 1000}, false},
        {naws(std::string{0, 1, 0, 1}), {1, 1}, false},
        {naws(std::string{0, 80, 0}), {80, 24}, true},
        {naws(std::string(65, 'a')), {80, 24}, true},
        {std::string{IAC, SB, NAWS} + std::string(4096, 'a'), {80, 24}, true},
        {std::string{IAC, SB, NAWS} + std::string(300, IAC), {80, 24}, true},
    };
    for (const Case& c : cases) {
        TelnetNegotiation telnet;
        EXPECT_FALSE(telnet.take_output().empty());
        telnet.receive(std::string{IAC, WILL, NAWS, IAC, WONT, TTYPE} + c.bytes);
        EXPECT_EQ(!telnet.failure().empty(), c.fails) << testing::PrintToString(c.bytes.substr(0, 12));
        if (c.fails) continue;
        EXPECT_TRUE(telnet.settled());
        EXPECT_EQ(telnet.size(), c.size) << testing::PrintToString(c.bytes);
        EXPECT_EQ(telnet.take_new_size(), c.size);
        EXPECT_FALSE(telnet.take_new_size());
        EXPECT_FALSE(telnet.key_pressed());
    }
}

TEST(TelnetNegotiation, SettlesOnlyOnceBothQuestionsAreAnsweredAndAKeyIsSeen)
{
    TelnetNegotiation telnet;
    telnet.take_output();
    telnet.receive(std::string{IAC, WONT, NAWS});
    EXPECT_FALSE(telnet.settled());
    telnet.receive(std::string{IAC, WILL, TTYPE});
    EXPECT_NE(telnet.take_output().find(std::string{IAC, SB, TTYPE, 1, IAC, SE}), std::string::npos);
    telnet.receive(std::string{IAC, SB, TTYPE, 0} + "xterm-256color" + std::string{IAC, SE});
    EXPECT_TRUE(telnet.settled());
    EXPECT_EQ(telnet.terminal_type(), "xterm-256color");
    EXPECT_EQ(telnet.size(), (ViewSize{80, 24}));
    telnet.receive("q");
    EXPECT_TRUE(telnet.key_pressed());
}

// "ADDR PORT" of a header's source, "" for none.
std::string shown(const std::optional<sockaddr_storage>& source)
{
    if (!source) return "";
    char text[INET6_ADDRSTRLEN] = "";
    const bool v6 = source->ss_family == AF_INET6;
    const auto* a4 = reinterpret_cast<const sockaddr_in*>(&*source);
    const auto* a6 = reinterpret_cast<const sockaddr_in6*>(&*source);
    inet_ntop(source->ss_family, v6 ? static_cast<const void*>(&a6->sin6_addr) : &a4->sin_addr, text, sizeof text);
    return std::string(text) + " " + std::to_string(ntohs(v6 ? a6->sin6_port : a4->sin_port));
}

std::string binary(unsigned char command, unsigned char family, std::string body)
{
    const std::string length{static_cast<char>(body.size() >> 8), static_cast<char>(body.size() & 0xff)};
    return std::string("\r\n\r\n\0\r\nQUIT\n", 12) + static_cast<char>(command) + static_cast<char>(family) + length + body;
}

TEST(ProxyHeader, BothVersionsReadWholeOrNotAtAll)
{
    const std::string v4{10, 1, 2, 3, 127, 0, 0, 1, 0x15, (char)0xb3, 0, 80};
    const std::string v6 = std::string(15, 0) + '\1' + std::string(16, 0) + std::string{0, 7, 0, 8};
    struct Case {
        std::string bytes;
        ProxyState state;
        std::string source;
        std::string reason_start;
    };
    const Case cases[] = {
        {"PROXY TCP4 10.1.2.3 127.0.0.1 5555 80\r\nGET", ProxyState::done, "10.1.2.3 5555", ""},
        {"PROXY TCP6 2001:db8::1 ::1 65535 80\r\n", ProxyState::done, "2001:db8::1 65535", ""},
        {"PROXY UNKNOWN\r\n", ProxyState::done, "", ""},
        {"PROXY UNKNOWN whatever follows\r\n", ProxyState::done, "", ""},
        {"PROXY TCP4 10.1.2.3 127.0.0.1 5555\r\n", ProxyState::bad, "", "the PROXY line's addresses"},
        {"PROXY TCP4 ::1 ::1 1 2\r\n", ProxyState::bad, "", "the PROXY line's addresses"},
        {"PROXY TCP4 10.1.2.3 127.0.0.1 65536 80\r\n", ProxyState::bad, "", "the PROXY line's addresses"},
        {"PROXY TCP4 10.1.2.3  127.0.0.1 1 80\r\n", ProxyState::bad, "", "the PROXY line's addresses"},
        {"PROXY UDP4 10.1.2.3 127.0.0.1 1 2\r\n", ProxyState::bad, "", "the PROXY line names no"},
        {"PROXY TCP4 10.1.2.3\t127.0.0.1 1 2\r\n", ProxyState::bad, "", "the PROXY line has a byte"},
        {"PROXY UNKNOWN " + std::string(91, 'x') + "\r\n", ProxyState::done, "", ""},
        {"PROXY UNKNOWN " + std::string(92, 'x') + "\r\n", ProxyState::bad, "", "the PROXY line is longer"},
        {"PROXY UNKNOWN\n", ProxyState::incomplete, "", ""},
        {"GET / HTTP/1.1\r\n\r\n", ProxyState::bad, "", "a trusted proxy's connection"},
        {"PROXX", ProxyState::bad, "", "a trusted proxy's connection"},
        {std::string("\r\n\r\n\0\r\nQUIX", 11), ProxyState::bad, "", "a trusted proxy's connection"},
        {binary(0x21, 0x11, v4) + "GET", ProxyState::done, "10.1.2.3 5555", ""},
        {binary(0x21, 0x21, v6), ProxyState::done, "::1 7", ""},
        {binary(0x21, 0x11, v4 + "\x03\0\4abcd"), ProxyState::done, "10.1.2.3 5555", ""},
        {binary(0x20, 0x00, ""), ProxyState::done, "", ""},
        {binary(0x20, 0x11, v4), ProxyState::done, "", ""},
        {binary(0x21, 0x31, std::string(216, 'u')), ProxyState::done, "", ""},
        {binary(0x21, 0x11, v4.substr(0, 11)), ProxyState::bad, "", "the PROXY header is too short"},
        {binary(0x21, 0x21, v4), ProxyState::bad, "", "the PROXY header is too short"},
        {binary(0x11, 0x11, v4), ProxyState::bad, "", "the PROXY header's version"},
        {binary(0x22, 0x11, v4), ProxyState::bad, "", "the PROXY header's command"},
        {binary(0x21, 0x11, std::string(max_proxy_body, 0)), ProxyState::done, "0.0.0.0 0", ""},
        {binary(0x21, 0x11, std::string(max_proxy_body + 1, 0)), ProxyState::bad, "", "the PROXY header is longer"},
    };
    for (const Case& c : cases) {
        const ProxyRead read = read_proxy_header(c.bytes);
        const std::string name = testing::PrintToString(c.bytes.substr(0, 40));
        EXPECT_EQ(read.state, c.state) << name;
        EXPECT_EQ(shown(read.source), c.source) << name;
        EXPECT_EQ(read.reason.substr(0, c.reason_start.size()), c.reason_start) << name;
        if (read.state != ProxyState::done) continue;
        const std::size_t after = c.bytes.ends_with("GET") ? 3 : 0;
        EXPECT_EQ(read.consumed, c.bytes.size() - after) << name;
        // Short of its last byte, a header is still arriving, never refused.
        for (std::size_t cut = 0; cut < read.consumed; ++cut)
            EXPECT_EQ(read_proxy_header(c.bytes.substr(0, cut)).state, ProxyState::incomplete) << name << " cut " << cut;
    }
    EXPECT_TRUE(starts_as_proxy_header(binary(0x21, 0x11, "")));
    EXPECT_TRUE(starts_as_proxy_header("PROXY "));
    EXPECT_FALSE(starts_as_proxy_header("PROXY"));
    EXPECT_FALSE(starts_as_proxy_header("GET / HTTP/1.1\r\n"));
}

TEST(AddressRange, AddressesAndNetworksOfBothFamilies)
{
    auto peer = [](const char* text) {
        sockaddr_storage s{};
        const bool v6 = std::strchr(text, ':') != nullptr;
        s.ss_family = v6 ? AF_INET6 : AF_INET;
        inet_pton(s.ss_family, text, v6 ? static_cast<void*>(&reinterpret_cast<sockaddr_in6*>(&s)->sin6_addr)
                                        : &reinterpret_cast<sockaddr_in*>(&s)->sin_addr);
        return s;
    };
    struct Case {
        std::string range;
        sockaddr_storage peer;
        bool in;
    };
    const Case cases[] = {
        {"127.0.0.1", peer("127.0.0.1"), true},
        {"127.0.0.1", peer("127.0.0.2"), false},
        {"127.0.0.1", peer("::ffff:127.0.0.1"), true},
        {"10.1.0.0/16", peer("10.1.255.7"), true},
        {"10.1.0.0/16", peer("10.2.0.1"), false},
        {"10.1.128.0/17", peer("10.1.127.1"), false},
        {"10.1.128.0/17", peer("10.1.200.1"), true},
        {"0.0.0.0/0", peer("192.0.2.1"), true},
        {"0.0.0.0/0", peer("2001:db8::1"), false},
        {"::1", peer("::1"), true},
        {"fd00::/8", peer("fdab::1"), true},
        {"fd00::/8", peer("fe80::1"), false},
    };
    for (const Case& c : cases) {
        const std::optional<AddressRange> range = parse_address_range(c.range);
        ASSERT_TRUE(range) << c.range;
        EXPECT_EQ(in_ranges({*range}, reinterpret_cast<const sockaddr*>(&c.peer)), c.in) << c.range;
    }
    for (const char* bad : {"", "localhost", "10.0.0.0/33", "::/129", "10.0.0.0/-1", "10.0.0.0/", "1.2.3.4/8x"})
        EXPECT_FALSE(parse_address_range(bad)) << bad;
}

} // namespace
} // namespace gm
