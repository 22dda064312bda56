#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/common/default_seed.h"
#include "host/common/signals.h"
#include "host/glyphmarinae/headless.h"
#include "host/glyphmarinae/options.h"
#include "host/glyphmarinae/palette.h"
#include "host/glyphmarinae/terminal_host.h"
#include "record/record.h"

namespace {

// A full disk or a failing device is no success: the text goes out whole or
// the run says so.
int print(const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            std::cerr << "glyphmarinae: cannot write the output: " << std::strerror(written < 0 ? errno : EIO) << "\n";
            return 1;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

gm::RecordRequest record_request(const gm::Options& options)
{
    gm::RecordRequest request;
    request.file = options.record_file;
    request.columns = options.columns;
    request.rows = options.rows;
    if (options.ticks_given) request.ticks = options.ticks;
    request.seed = options.seed.value_or(gm::default_seed());
    request.fps = options.fps;
    request.scale = options.scale;
    request.timestamp = options.timestamp;
    return request;
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
        case Mode::gallery: return print(gallery_text(options.colour || (isatty(STDOUT_FILENO) == 1 && !colour_refused())));
        case Mode::dump:
        case Mode::entities: {
            Scene scene;
            run_headless(scene, options, options.seed.value_or(default_seed()));
            return print(options.mode == Mode::dump ? dump_text(scene, options.colour) : entities_json(scene));
        }
        case Mode::record:
            catch_stop_signals();
            return run_record(record_request(options), [] { return stop_signal(); });
        case Mode::aquarium: return run_terminal(options);
        }
    } catch (const std::exception& error) {
        std::cerr << "glyphmarinae: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
