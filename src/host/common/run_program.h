#pragma once
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/common/option_table.h"
#include "host/common/signals.h"

namespace gm {

// What a window program hands run_program.
template <typename Options>
struct Program {
    std::string_view name; // "glyphmarinae-x11", which starts every line it writes
    std::string_view version;
    ReadResult<Options> (*parse)(const std::vector<std::string>& args);
    std::string (*usage)();
    // The aquarium itself, with the stop signals caught and held outside its
    // waits; the exit status.
    int (*run)(const Options& options);
};

// The whole of a window program's main(): a command line that is not
// understood is status 2, help and version are printed, anything else runs.
template <typename Options>
int run_program(const Program<Options>& program, int argc, char** argv)
{
    const ReadResult<Options> parsed = program.parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << program.name << ": " << parsed.error << "\n";
        return 2;
    }
    using Mode = decltype(Options::mode);
    if (parsed.options.mode == Mode::help) {
        std::cout << program.usage();
        return 0;
    }
    if (parsed.options.mode == Mode::version) {
        std::cout << program.name << " " << program.version << "\n";
        return 0;
    }
    catch_stop_signals({.held = Held::outside_waits});
    return program.run(parsed.options);
}

} // namespace gm
