#include <ctime>
#include <exception>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/cli/headless.h"
#include "host/cli/options.h"
#include "host/cli/record.h"
#include "host/terminal/terminal_host.h"

namespace {

// A full disk or a failing device is no success: the text goes out whole or
// the run says so.
int print(const std::string& text)
{
    std::cout << text;
    std::cout.flush();
    if (std::cout) return 0;
    std::cerr << "glyphmarinae: cannot write the output\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace gm;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = parse_options(args);
    if (!parsed.error.empty()) {
        std::cerr << "glyphmarinae: " << parsed.error << "\n";
        return 2;
    }
    const Options& options = parsed.options;
    try {
        switch (options.mode) {
        case Mode::help: return print(usage_text());
        case Mode::version: return print(version_text());
        case Mode::gallery: return print(gallery_text(options.colour || isatty(STDOUT_FILENO) == 1));
        case Mode::dump:
        case Mode::entities: {
            const auto seed = options.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
            // Scenes are large; one lives for the whole run, as in every host.
            static Scene scene;
            run_headless(scene, options, seed);
            return print(options.mode == Mode::dump ? dump_text(scene, options.colour) : entities_json(scene));
        }
        case Mode::record: return run_record(options);
        case Mode::aquarium: return run_terminal(options);
        }
    } catch (const std::exception& error) {
        std::cerr << "glyphmarinae: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
