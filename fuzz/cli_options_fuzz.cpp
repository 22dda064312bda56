// The Linux program's option parser on any argument vector: the input is cut
// into arguments at zero bytes. Whatever it accepts must be within the ranges
// that the rest of the program relies on.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "host/glyphmarinae/options.h"
#include "record/record_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back().push_back(static_cast<char>(data[i]));
    }
    if (size == 0) args.clear();

    const gm::ParseResult result = gm::parse_options(args);
    const gm::ParseResult again = gm::parse_options(args);
    FUZZ_REQUIRE(result.error == again.error);
    if (!result.error.empty()) return 0;

    const gm::Options& o = result.options;
    FUZZ_REQUIRE(o.columns >= 1 && o.columns <= gm::max_grid_side);
    FUZZ_REQUIRE(o.rows >= 1 && o.rows <= gm::max_grid_side);
    FUZZ_REQUIRE(o.ticks >= 0);
    FUZZ_REQUIRE(o.fps >= 1 && o.fps <= 60);
    FUZZ_REQUIRE(o.mode == again.options.mode && o.seed == again.options.seed);
    if (!o.size_given) FUZZ_REQUIRE(o.columns == 80 && o.rows == 24);
    if (o.mode == gm::Mode::record) FUZZ_REQUIRE(gm::record_format_of(o.record_file).has_value());
    FUZZ_REQUIRE(!o.timestamp || *o.timestamp >= 0);
    return 0;
}
