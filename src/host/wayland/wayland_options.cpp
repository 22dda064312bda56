#include "host/wayland/wayland_options.h"

#include <string_view>

#include "host/common/option_values.h"

namespace gm {

namespace {

constexpr int min_font_size = 4;
constexpr int max_font_size = 512;

// Sets one option from its value (empty for a flag); the complaint on failure.
using Apply = std::string (*)(WaylandOptions&, std::string_view value);

struct OptionRule {
    std::string_view name;
    bool takes_value;
    Apply apply;
};

std::string choose_place(WaylandOptions& o, WaylandPlace place)
{
    if (o.place != WaylandPlace::screensaver && o.place != place) return "choose only one of --background and --window";
    o.place = place;
    return {};
}

const OptionRule rules[] = {
    {"--help", false, [](WaylandOptions& o, std::string_view) { return o.mode = WaylandMode::help, std::string(); }},
    {"-h", false, [](WaylandOptions& o, std::string_view) { return o.mode = WaylandMode::help, std::string(); }},
    {"--version", false,
     [](WaylandOptions& o, std::string_view) { return o.mode = WaylandMode::version, std::string(); }},
    {"--background", false,
     [](WaylandOptions& o, std::string_view) { return choose_place(o, WaylandPlace::background); }},
    {"--window", false, [](WaylandOptions& o, std::string_view) { return choose_place(o, WaylandPlace::window); }},
    {"--fps", true, [](WaylandOptions& o, std::string_view value) { return read_fps(value, o.fps); }},
    {"--seed", true, [](WaylandOptions& o, std::string_view value) { return read_seed(value, o.seed); }},
    {"--font-size", true,
     [](WaylandOptions& o, std::string_view value) {
         int size = 0;
         if (!parse_number(value, size) || size < min_font_size || size > max_font_size)
             return "--font-size wants pixels from " + std::to_string(min_font_size) + " to " +
                    std::to_string(max_font_size) + ", not '" + std::string(value) + "'";
         o.font_size = size;
         return std::string();
     }},
};

const OptionRule* rule_for(std::string_view name)
{
    for (const OptionRule& rule : rules)
        if (rule.name == name) return &rule;
    return nullptr;
}

} // namespace

WaylandParseResult parse_wayland_options(const std::vector<std::string>& args)
{
    WaylandParseResult result;
    for (std::size_t i = 0; i < args.size() && result.options.mode == WaylandMode::aquarium; ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inline_value;
        if (arg.starts_with("--") && arg.find('=') != std::string_view::npos) {
            inline_value = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        }
        const OptionRule* rule = rule_for(arg);
        if (!rule) {
            result.error = "unknown option '" + std::string(arg) + "' (see --help)";
            break;
        }
        std::string_view value;
        if (!rule->takes_value && inline_value) {
            result.error = std::string(arg) + " takes no value";
            break;
        }
        if (rule->takes_value && inline_value) {
            value = *inline_value;
        } else if (rule->takes_value) {
            // A value is never taken from the next option.
            if (i + 1 >= args.size() || std::string_view(args[i + 1]).starts_with("--")) {
                result.error = std::string(arg) + " needs a value";
                break;
            }
            value = args[++i];
        }
        result.error = rule->apply(result.options, value);
        if (!result.error.empty()) break;
    }
    return result;
}

std::string wayland_usage_text()
{
    return "Usage: glyphmarinae-wayland [OPTION]...\n"
           "The aquarium on a Wayland desktop. By default a screensaver over every\n"
           "output that a key, a left or right click or a mouse movement ends (an idle\n"
           "daemon such as swayidle starts it); where the compositor has no layer shell,\n"
           "a fullscreen window on each output with the same ending.\n"
           "\n"
           "Options:\n"
           "  --background           an animated wallpaper under the windows of every\n"
           "                         output; input passes through, a signal ends it\n"
           "  --window               a resizable window of its own that a key, a click or\n"
           "                         closing ends\n"
           "  --fps N                ticks per second, 1 to 60 (default 10)\n"
           "  --seed N               seed the first output's aquarium with N, the next\n"
           "                         outputs' with N+1, ... (default: the time in seconds)\n"
           "  --font-size PX         font height in pixels, 4 to 512 (default: a\n"
           "                         ninety-sixth of the output's height, at least 8)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when there is no compositor or it goes away, or\n"
           "--background without a layer shell, 2 for a bad option.\n";
}

} // namespace gm
