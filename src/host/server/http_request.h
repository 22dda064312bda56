#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/common/colour_rule.h"
#include "host/server/telnet_size.h"

namespace gm {

// A request line and its headers may take at most this many bytes.
inline constexpr std::size_t max_request_head = 8192;

struct RequestHead {
    std::string method;
    std::string path;  // percent-decoded, without the query
    std::string query; // as sent, after '?'
    std::string host;  // the Host header, "" when none
    bool wants_html = false; // Accept names text/html
};

enum class HeadState { incomplete, complete, bad };

struct HeadRead {
    HeadState state = HeadState::incomplete;
    RequestHead head;
    std::string reason; // the one line a bad request is answered with
};

// Reads what has arrived of a request so far. Incomplete while the blank
// line that ends the headers has not come and fewer than max_request_head
// bytes have; a body after the headers is never read.
HeadRead read_request_head(std::string_view bytes);

// What a viewer asks for in the query of "/".
struct ViewRequest {
    ViewSize size;
    std::optional<std::uint32_t> seed;
    std::optional<std::int64_t> ticks; // frames after the first, then the stream ends
    ColourDepth depth = ColourDepth::palette256;
};

// The one-line reason the query cannot be served, or "".
std::string read_view_query(std::string_view query, ViewRequest& request);

// Decodes %XX and '+'; none when an escape is cut short or not hexadecimal,
// or decodes to a NUL.
std::optional<std::string> percent_decoded(std::string_view text, bool plus_is_space);

} // namespace gm
