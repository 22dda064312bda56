#include "host/wayland/wayland_options.h"

#include <string_view>

#include "host/common/option_values.h"

namespace gm {

namespace {

std::string_view mode_name(WaylandMode) { return "the Wayland aquarium"; }

template <WaylandPlace place>
std::string place_at(WaylandOptions& o, std::string_view)
{
    if (o.place != WaylandPlace::screensaver && o.place != place) return "choose only one of --background and --window";
    o.place = place;
    return {};
}

constexpr int min_idle_seconds = 1;
constexpr int max_idle_seconds = 86400; // a day

std::string read_idle(WaylandOptions& o, std::string_view text)
{
    int value = 0;
    if (!parse_number(text, value) || value < min_idle_seconds || value > max_idle_seconds)
        return "--idle wants seconds from " + std::to_string(min_idle_seconds) + " to " +
               std::to_string(max_idle_seconds) + ", not '" + std::string(text) + "'";
    o.idle_seconds = value;
    return {};
}

std::string add_output_name(WaylandOptions& o, std::string_view name)
{
    if (name.empty()) return "--output takes an output's name, such as DP-1";
    o.outputs.emplace_back(name);
    return {};
}

const OptionRule<WaylandOptions> rules[] = {
    {"--help", "-h", false, every_mode, choose_mode<WaylandMode::help>},
    {"--version", "", false, every_mode, choose_mode<WaylandMode::version>},
    {"--background", "", false, every_mode, place_at<WaylandPlace::background>},
    {"--window", "", false, every_mode, place_at<WaylandPlace::window>},
    {"--fps", "", true, every_mode, [](WaylandOptions& o, std::string_view value) { return read_fps(value, o.fps); }},
    {"--seed", "", true, every_mode,
     [](WaylandOptions& o, std::string_view value) { return read_seed(value, o.seed); }},
    {"--font-size", "", true, every_mode,
     [](WaylandOptions& o, std::string_view value) { return read_font_size(value, o.font_size); }},
    {"--output", "", true, every_mode, add_output_name, true},
    {"--idle", "", true, every_mode, read_idle},
};

} // namespace

WaylandParseResult parse_wayland_options(const std::vector<std::string>& args)
{
    WaylandParseResult result = read_options<WaylandOptions>(rules, args, mode_name);
    if (result.error.empty() && result.options.place == WaylandPlace::window && !result.options.outputs.empty())
        result.error = option_reading::no_effect("--output", "--window");
    // Idle time brings the screensaver; a wallpaper or a window is there all along.
    if (result.error.empty() && result.options.idle_seconds && result.options.place != WaylandPlace::screensaver)
        result.error = "--idle goes with neither --background nor --window";
    return result;
}

std::string wayland_usage_text()
{
    return "Usage: glyphmarinae-wayland [OPTION]...\n"
           "The aquarium on a Wayland desktop. By default a screensaver over every\n"
           "output that a key, a left or right click, a mouse movement or a locker\n"
           "taking the keyboard ends (an idle daemon such as swayidle starts it); where\n"
           "the compositor has no layer shell, a fullscreen window on each output with\n"
           "the same ending.\n"
           "\n"
           "Options:\n"
           "  --background           an animated wallpaper under the windows of every\n"
           "                         output, on the bottom layer over the compositor's\n"
           "                         own wallpaper; input passes through, a signal ends it\n"
           "  --window               a resizable window of its own that a key, a click or\n"
           "                         closing ends\n"
           "  --output NAME          only on the output NAME (such as DP-1, as the\n"
           "                         compositor names it); repeatable (default: every\n"
           "                         output, those plugged in later too)\n"
           "  --fps N                ticks per second, 1 to 60 (default 10)\n"
           "  --seed N               seed the first output's aquarium with N, 0 to\n"
           "                         4294967295, the next outputs' with N+1, ...\n"
           "                         (default: mixed from the clock and the process id)\n"
           "  --font-size PX         font height in pixels, 4 to 512 (default: a\n"
           "                         ninety-sixth of the output's height, at least 8)\n"
           "  --idle SECONDS         stay running as its own idle watcher: the screensaver\n"
           "                         after SECONDS, 1 to 86400, without input, hidden\n"
           "                         again by its input, each time a new aquarium\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when there is no compositor or it goes away,\n"
           "--background without a layer shell, none of the outputs --output names, or\n"
           "--idle without an idle protocol or with another --idle watcher in the\n"
           "session, 2 for a bad option.\n";
}

} // namespace gm
