#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/common/option_table.h"

namespace gm {

enum class Mode { aquarium, dump, entities, gallery, record, help, version };

struct Options {
    Mode mode = Mode::aquarium;
    std::int32_t columns = 80;
    std::int32_t rows = 24;
    bool size_given = false;
    std::int64_t ticks = 0;
    bool ticks_given = false; // --record counts its own default
    int scale = 1; // pixels per font pixel in a .gif or .png
    bool scale_given = false;
    std::optional<std::uint32_t> seed; // none: default_seed()
    bool colour = false;
    int fps = 10;
    bool fps_given = false; // a picture has no rate to give
    bool terminal_background = false;
    bool terminal_colours = false; // the terminal's own sixteen instead of the aquarium's colours
    std::string record_file;
    std::optional<std::int64_t> timestamp; // none: the time in seconds
    bool ambient = false; // only q, Esc and Ctrl-C end the terminal aquarium
};

using ParseResult = ReadResult<Options>;

inline constexpr std::int32_t max_grid_side = 1000;

// A pure function of the arguments (without the program name), so that it
// can be tested and fuzzed.
ParseResult parse_options(const std::vector<std::string>& args);

std::string usage_text();
std::string version_text();

} // namespace gm
