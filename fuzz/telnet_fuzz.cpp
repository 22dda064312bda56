// The telnet side on any bytes from a client, handed over in pieces as reads
// would: sizes stay within 1..1000, a subnegotiation never grows past its
// limit unnoticed, and nothing sent back asks for more than the four options.
#include <string>

#include "fuzz_check.h"
#include "host/server/telnet_negotiation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    gm::TelnetNegotiation telnet;
    telnet.take_output();
    std::size_t at = 0;
    while (at < size && telnet.failure().empty()) {
        const std::size_t piece = std::min<std::size_t>(size - at, 1 + data[at] % 97);
        telnet.receive({reinterpret_cast<const char*>(data + at), piece});
        at += piece;
        const std::string output = telnet.take_output();
        // Each refusal is three bytes and each option is refused once in each
        // direction; the one TTYPE question is six.
        FUZZ_REQUIRE(output.size() <= 3 * 512 + 6);
        if (const auto size_now = telnet.take_new_size()) {
            FUZZ_REQUIRE(size_now->columns >= 1 && size_now->columns <= gm::max_view_side);
            FUZZ_REQUIRE(size_now->rows >= 1 && size_now->rows <= gm::max_view_side);
        }
    }
    const gm::ViewSize last = telnet.size();
    FUZZ_REQUIRE(last.columns >= 1 && last.columns <= gm::max_view_side && last.rows >= 1 &&
                 last.rows <= gm::max_view_side);
    FUZZ_REQUIRE(telnet.terminal_type().size() <= 40);
    return 0;
}
