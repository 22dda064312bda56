#include "host/server/http_request.h"

#include <utility>

#include "host/common/option_values.h"

namespace gm {

namespace {

int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool token_char(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool same_letters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Lines end in CRLF; a bare LF is taken too, as many clients typed by hand send it.
std::string_view next_line(std::string_view& rest)
{
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

HeadRead bad(std::string reason)
{
    HeadRead read;
    read.state = HeadState::bad;
    read.reason = std::move(reason);
    return read;
}

std::string read_request_line(std::string_view line, RequestHead& head)
{
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last) return "the request line is not METHOD TARGET HTTP/1.x";
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, last - first - 1);
    const std::string_view version = line.substr(last + 1);
    if (method.empty()) return "the request has no method";
    for (char c : method)
        if (!token_char(c)) return "the request's method is not a word";
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return "only HTTP/1.0 and HTTP/1.1 are spoken here";
    if (target.empty() || target.front() != '/') return "the request's target is not a path";
    for (char c : target)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return "the request's target holds a control character";
    const std::size_t question = target.find('?');
    const std::optional<std::string> path = percent_decoded(target.substr(0, question), false);
    if (!path) return "the request's path has a broken escape";
    head.method = std::string(method);
    head.path = *path;
    head.query = question == std::string_view::npos ? "" : std::string(target.substr(question + 1));
    return {};
}

bool accepts_html(std::string_view value)
{
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        std::string_view item = value.substr(0, comma);
        item = trimmed(item.substr(0, item.find(';')));
        if (same_letters(item, "text/html")) return true;
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return false;
}

std::string read_size(std::string_view text, ViewSize& size)
{
    const std::size_t x = text.find('x');
    std::int32_t columns = 0, rows = 0;
    if (x == std::string_view::npos || !parse_number(text.substr(0, x), columns) ||
        !parse_number(text.substr(x + 1), rows) || columns < 1 || rows < 1 || columns > max_view_side ||
        rows > max_view_side)
        return "size wants COLSxROWS, each from 1 to 1000";
    size = {columns, rows};
    return {};
}

// A parameter given twice is refused rather than one of the two chosen: the
// viewer would not know which counted.
struct SeenParameters {
    bool size = false, seed = false, ticks = false, colour = false;
};

// The name goes back to the viewer in the refusal, so only a printable
// start of it.
std::string unknown_parameter(const std::string& name)
{
    std::string shown = name.substr(0, 40);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) c = '?';
    return "unknown parameter '" + shown + "'; the parameters are size, seed, ticks and colour";
}

// The reason one decoded name=value cannot be taken, or "".
std::string read_parameter(const std::string& name, const std::string& value, ViewRequest& request, SeenParameters& seen)
{
    auto once = [&](bool& flag) { return std::exchange(flag, true) ? name + " is given twice" : std::string(); };
    std::string reason;
    if (name == "size") {
        reason = once(seen.size);
        if (reason.empty()) reason = read_size(value, request.size);
    } else if (name == "seed") {
        reason = once(seen.seed);
        std::uint32_t seed = 0;
        if (reason.empty() && !parse_number(value, seed)) reason = "seed wants a whole number from 0 to 4294967295";
        if (reason.empty()) request.seed = seed;
    } else if (name == "ticks") {
        reason = once(seen.ticks);
        std::int64_t ticks = 0;
        if (reason.empty() && (!parse_number(value, ticks) || ticks < 0 || ticks > 1'000'000'000))
            reason = "ticks wants a whole number from 0 to 1000000000";
        if (reason.empty()) request.ticks = ticks;
    } else if (name == "colour" || name == "color") {
        reason = once(seen.colour);
        const std::optional<ColourDepth> depth = colour_depth_named(value);
        if (reason.empty() && !depth) reason = "colour wants truecolor, 256, 16, 8 or none";
        if (reason.empty()) request.depth = *depth;
    } else {
        reason = unknown_parameter(name);
    }
    return reason;
}

} // namespace

std::optional<std::string> percent_decoded(std::string_view text, bool plus_is_space)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hex_value(text[i + 1]), low = hex_value(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            c = static_cast<char>(high * 16 + low);
            if (c == '\0') return std::nullopt;
            i += 2;
        } else if (c == '+' && plus_is_space) {
            c = ' ';
        }
        out += c;
    }
    return out;
}

HeadRead read_request_head(std::string_view bytes)
{
    std::size_t end = bytes.find("\r\n\r\n");
    std::size_t end_length = 4;
    if (const std::size_t bare = bytes.find("\n\n"); bare < end) end = bare, end_length = 2;
    if (end == std::string_view::npos)
        return bytes.size() >= max_request_head ? bad("the request's head is longer than 8192 bytes") : HeadRead{};
    if (end + end_length > max_request_head) return bad("the request's head is longer than 8192 bytes");

    HeadRead read;
    std::string_view rest = bytes.substr(0, end + 1);
    if (const std::string reason = read_request_line(next_line(rest), read.head); !reason.empty()) return bad(reason);
    while (!rest.empty()) {
        const std::string_view line = next_line(rest);
        if (line.empty()) break;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) return bad("a header line has no name");
        const std::string_view name = line.substr(0, colon);
        for (char c : name)
            if (!token_char(c)) return bad("a header's name is not a word");
        const std::string_view value = trimmed(line.substr(colon + 1));
        for (char c : value)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
                return bad("a header's value holds a control character");
        if (same_letters(name, "accept") && accepts_html(value)) read.head.wants_html = true;
        if (same_letters(name, "host")) read.head.host = std::string(value);
    }
    read.state = HeadState::complete;
    return read;
}

std::string read_view_query(std::string_view query, ViewRequest& request)
{
    SeenParameters seen;
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
        if (pair.empty()) continue;
        const std::size_t equals = pair.find('=');
        const std::optional<std::string> name = percent_decoded(pair.substr(0, equals), true);
        const std::optional<std::string> value =
            percent_decoded(equals == std::string_view::npos ? "" : pair.substr(equals + 1), true);
        if (!name || !value) return "a query parameter has a broken escape";
        if (std::string reason = read_parameter(*name, *value, request, seen); !reason.empty()) return reason;
    }
    return {};
}

} // namespace gm
