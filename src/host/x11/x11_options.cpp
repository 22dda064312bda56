#include "host/x11/x11_options.h"

#include "host/common/option_table.h"
#include "host/common/option_values.h"

namespace gm {

namespace {

constexpr std::uint32_t largest_x_id = 0x1FFFFFFF;

std::string_view mode_name(X11Mode) { return "the X11 aquarium"; }

const OptionRule<X11Options> rules[] = {
    {"--help", "-h", false, every_mode, choose_mode<X11Mode::help>},
    {"--version", "", false, every_mode, choose_mode<X11Mode::version>},
    {"--root", "-root", false, every_mode, switch_on<&X11Options::root>},
    {"--window-id", "-window-id", true, every_mode,
     [](X11Options& o, std::string_view value) {
         o.window_id = parse_window_id(value);
         if (o.window_id) return std::string();
         return "--window-id wants a window id such as 0x1e00007 or 31457287, not '" + std::string(value) + "'";
     }},
    {"--fps", "", true, every_mode, [](X11Options& o, std::string_view value) { return read_fps(value, o.fps); }},
    {"--seed", "", true, every_mode, [](X11Options& o, std::string_view value) { return read_seed(value, o.seed); }},
    {"--font-size", "", true, every_mode,
     [](X11Options& o, std::string_view value) { return read_font_size(value, o.font_size); }},
};

} // namespace

std::optional<std::uint32_t> parse_window_id(std::string_view text)
{
    std::uint32_t id = 0;
    const bool hexadecimal = text.starts_with("0x") || text.starts_with("0X");
    if (hexadecimal) text.remove_prefix(2);
    if (text.empty()) return std::nullopt;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id, hexadecimal ? 16 : 10);
    if (ec != std::errc() || ptr != end || id == 0 || id > largest_x_id) return std::nullopt;
    return id;
}

X11ParseResult parse_x11_options(const std::vector<std::string>& args)
{
    X11ParseResult result = read_options<X11Options>(rules, args, mode_name);
    // Screensaver settings dialogs append the window of their preview to the
    // command that names the root: the window given wins.
    if (result.options.window_id) result.options.root = false;
    return result;
}

std::string x11_usage_text()
{
    return "Usage: glyphmarinae-x11 [OPTION]...\n"
           "The aquarium in an X11 window, as a screensaver module. It draws into the\n"
           "window named by $XSCREENSAVER_WINDOW when a screensaver daemon sets it;\n"
           "otherwise into a window of its own that a key, a click or closing ends.\n"
           "\n"
           "Options:\n"
           "  --root, -root          draw into the root window (the desktop's virtual root)\n"
           "  --window-id ID         draw into the window ID (0x... or decimal), even with\n"
           "                         --root; also -window-id\n"
           "  --fps N                ticks per second, 1 to 60 (default 10)\n"
           "  --seed N               seed the aquarium with N, 0 to 4294967295 (default:\n"
           "                         mixed from the clock and the process id)\n"
           "  --font-size PX         font height in pixels, 4 to 512 (default: a\n"
           "                         ninety-sixth of the window's height, at least 8)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when the X server goes away, 2 for a bad option,\n"
           "a window id that names no window, or a display that cannot be opened.\n";
}

} // namespace gm
