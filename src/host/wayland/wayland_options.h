#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/common/option_table.h"

namespace gm {

enum class WaylandMode { aquarium, help, version };

// Where the aquarium is shown: over everything until input ends it, under
// everything as a wallpaper, or in a window of its own.
enum class WaylandPlace { screensaver, background, window };

struct WaylandOptions {
    WaylandMode mode = WaylandMode::aquarium;
    WaylandPlace place = WaylandPlace::screensaver;
    int fps = 10;
    std::optional<std::uint32_t> seed; // none: default_seed()
    std::optional<int> font_size;      // none: a ninety-sixth of the output's height
    std::vector<std::string> outputs;  // the outputs' names from --output; none: every output
    std::optional<int> idle_seconds;   // none: shown at once; else its own idle watcher
};

using WaylandParseResult = ReadResult<WaylandOptions>;

// A pure function of the arguments, without the program name.
WaylandParseResult parse_wayland_options(const std::vector<std::string>& args);

std::string wayland_usage_text();

} // namespace gm
