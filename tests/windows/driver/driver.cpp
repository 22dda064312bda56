#include <cstdio>
#include <string>

#include "scenarios.h"

namespace {

// The scripts pass Unix paths; Wine maps the Unix root to drive Z:.
std::string windows_path(std::string path)
{
    if (!path.empty() && path.front() == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: glyph_wine_driver SCENARIO SCREENSAVER_EXE OUT_DIR\n");
        return 2;
    }
    const std::string scenario = argv[1];
    wine_test::Paths paths;
    paths.screensaver = windows_path(argv[2]);
    paths.out_dir = windows_path(argv[3]);

    wine_test::Verdict verdict;
    std::printf("scenario %s\n", scenario.c_str());
    if (!wine_test::run_scenario(scenario, paths, verdict)) {
        std::fprintf(stderr, "unknown scenario %s\n", scenario.c_str());
        return 2;
    }
    std::printf("%s: %d failed expectation(s)\n", verdict.failures ? "FAILED" : "PASSED", verdict.failures);
    return verdict.failures ? 1 : 0;
}
