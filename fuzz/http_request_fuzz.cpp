// The server's reading of a request on any bytes: the head as it arrives, cut
// wherever the input's first byte says, and the query of whatever head it
// takes. What it takes must be within what the server relies on.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "host/server/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = data[0] * bytes.size() / 255;
    const gm::HeadRead early = gm::read_request_head(bytes.substr(0, cut));
    const gm::HeadRead read = gm::read_request_head(bytes);
    // More bytes never unmake a whole head or a refusal.
    if (early.state != gm::HeadState::incomplete) FUZZ_REQUIRE(read.state == early.state);
    FUZZ_REQUIRE((read.state == gm::HeadState::bad) == !read.reason.empty());
    FUZZ_REQUIRE(read.reason.find('\n') == std::string::npos);
    if (read.state != gm::HeadState::complete) return 0;
    FUZZ_REQUIRE(read.head.path.starts_with("/"));
    FUZZ_REQUIRE(read.head.path.find('\0') == std::string::npos);

    gm::ViewRequest request;
    const std::string reason = gm::read_view_query(read.head.query, request);
    FUZZ_REQUIRE(reason.find('\n') == std::string::npos);
    for (char c : reason) FUZZ_REQUIRE(c >= 0x20 && c <= 0x7e);
    if (!reason.empty()) return 0;
    FUZZ_REQUIRE(request.size.columns >= 1 && request.size.columns <= gm::max_view_side);
    FUZZ_REQUIRE(request.size.rows >= 1 && request.size.rows <= gm::max_view_side);
    FUZZ_REQUIRE(!request.ticks || *request.ticks >= 0);
    return 0;
}
