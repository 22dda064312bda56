// A balancer's header on any bytes, cut wherever the first byte says as reads
// would cut it: a header done or refused stays so as more bytes come, a done
// one is within the bounds the server holds it to, and a source is an IP
// address.
#include <string>
#include <string_view>
#include <sys/socket.h>

#include "fuzz_check.h"
#include "host/server/proxy_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = data[0] * bytes.size() / 255;
    const gm::ProxyRead early = gm::read_proxy_header(bytes.substr(0, cut));
    const gm::ProxyRead read = gm::read_proxy_header(bytes);
    if (early.state != gm::ProxyState::incomplete) {
        FUZZ_REQUIRE(read.state == early.state);
        FUZZ_REQUIRE(read.consumed == early.consumed);
    }
    FUZZ_REQUIRE((read.state == gm::ProxyState::bad) == !read.reason.empty());
    FUZZ_REQUIRE(read.reason.find('\n') == std::string::npos);
    if (read.state != gm::ProxyState::done) {
        FUZZ_REQUIRE(read.consumed == 0 && !read.source);
        // What is still arriving is short of either version's bound.
        if (read.state == gm::ProxyState::incomplete) FUZZ_REQUIRE(bytes.size() < 16 + gm::max_proxy_body);
        return 0;
    }
    FUZZ_REQUIRE(read.consumed <= bytes.size());
    FUZZ_REQUIRE(read.consumed <= std::max(gm::max_proxy_line, 16 + gm::max_proxy_body));
    FUZZ_REQUIRE(gm::starts_as_proxy_header(bytes));
    if (read.source) FUZZ_REQUIRE(read.source->ss_family == AF_INET || read.source->ss_family == AF_INET6);
    return 0;
}
