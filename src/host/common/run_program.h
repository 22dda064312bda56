#pragma once
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/common/host_contract.h"
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

// The run of a module that init has made: its refusal or its notice said
// in one line, its loop run, its state freed on every way out of the loop;
// the exit status (`refused` when init made nothing, 1 after a failure).
template <typename State, typename Loop>
int run_started(std::string_view name, Started<State> made, int refused, Loop loop)
{
    if (!made.state) {
        std::cerr << name << ": " << made.error << "\n";
        return refused;
    }
    if (!made.notice.empty()) std::cerr << name << ": " << made.notice << "\n";
    const RunEnd end = loop(*made.state);
    module_free(*made.state);
    return end == RunEnd::failed ? 1 : 0;
}

} // namespace gm
