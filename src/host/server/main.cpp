#include <iostream>

#include "host/server/handed_sockets.h"
#include "host/server/server.h"
#include "host/server/server_options.h"

int main(int argc, char** argv)
{
    using namespace gm;
    std::vector<HandedSocket> handed;
    if (const std::string reason = sockets_from_systemd(handed); !reason.empty()) {
        std::cerr << "glyphmarinae-server: " << reason << "\n";
        return 1;
    }
    const ServerParseResult parsed =
        parse_server_options(std::vector<std::string>(argv + 1, argv + argc), !handed.empty());
    if (!parsed.error.empty()) {
        std::cerr << "glyphmarinae-server: " << parsed.error << "\n";
        return 2;
    }
    if (parsed.options.mode == ServerMode::help) {
        std::cout << server_usage_text();
        return 0;
    }
    if (parsed.options.mode == ServerMode::version) {
        std::cout << "glyphmarinae-server " << GLYPH_VERSION << "\n";
        return 0;
    }
    return serve(parsed.options, handed);
}
