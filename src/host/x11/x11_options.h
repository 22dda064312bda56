#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/common/option_table.h"

namespace gm {

enum class X11Mode { aquarium, help, version };

struct X11Options {
    X11Mode mode = X11Mode::aquarium;
    bool root = false;
    std::optional<std::uint32_t> window_id;
    int fps = 10;
    std::optional<std::uint32_t> seed; // none: default_seed()
    std::optional<int> font_size;      // none: a ninety-sixth of the height
};

using X11ParseResult = ReadResult<X11Options>;

// A pure function of the arguments (without the program name). Screensaver
// daemons write the window options with one dash; both forms are taken.
X11ParseResult parse_x11_options(const std::vector<std::string>& args);

// A window id as X programs print it: hexadecimal with 0x, or decimal.
// X ids are never 0 and fit in 29 bits.
std::optional<std::uint32_t> parse_window_id(std::string_view text);

std::string x11_usage_text();

} // namespace gm
