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
        case Mode::help: std::cout << usage_text(); return 0;
        case Mode::version: std::cout << version_text(); return 0;
        case Mode::gallery: std::cout << gallery_text(options.colour || isatty(STDOUT_FILENO) == 1); return 0;
        case Mode::dump:
        case Mode::entities: {
            const auto seed = options.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
            // Scenes are large; one lives for the whole run, as in every host.
            static Scene scene;
            run_headless(scene, options, seed);
            std::cout << (options.mode == Mode::dump ? dump_text(scene, options.colour) : entities_json(scene));
            std::cout.flush();
            return std::cout ? 0 : 1;
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
