#include "host/x11/x11_options.h"

#include "host/common/option_values.h"

namespace gm {

namespace {

constexpr std::uint32_t largest_x_id = 0x1FFFFFFF;

struct Parser {
    const std::vector<std::string>& args;
    std::size_t i = 0;
    X11ParseResult result;

    bool fail(std::string message)
    {
        result.error = std::move(message);
        return false;
    }

    // "--fps 12" and "--fps=12" alike; a value is never taken from the next option.
    bool value_of(std::string_view option, std::optional<std::string_view> inline_value, std::string_view& value)
    {
        if (inline_value) {
            value = *inline_value;
            return true;
        }
        if (i + 1 >= args.size() || std::string_view(args[i + 1]).starts_with("--"))
            return fail(std::string(option) + " needs a value");
        value = args[++i];
        return true;
    }

    bool one(std::string_view arg)
    {
        X11Options& o = result.options;
        std::optional<std::string_view> inline_value;
        if (arg.starts_with("--") && arg.find('=') != std::string_view::npos) {
            inline_value = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        }
        const auto is = [&](std::string_view name, bool single_dash_too) {
            return arg == name || (single_dash_too && arg == name.substr(1));
        };
        const auto flag = [&](bool& target) {
            if (inline_value) return fail(std::string(arg) + " takes no value");
            target = true;
            return true;
        };
        std::string_view value;
        if (is("--help", false) || arg == "-h") return o.mode = X11Mode::help, true;
        if (is("--version", false)) return o.mode = X11Mode::version, true;
        if (is("--root", true)) return flag(o.root);
        if (is("--window-id", true)) {
            if (!value_of(arg, inline_value, value)) return false;
            o.window_id = parse_window_id(value);
            return o.window_id || fail(std::string(arg) + " wants a window id such as 0x1e00007 or 31457287, not '" +
                                       std::string(value) + "'");
        }
        if (is("--fps", false)) {
            if (!value_of(arg, inline_value, value)) return false;
            std::string error = read_fps(value, o.fps);
            return error.empty() || fail(std::move(error));
        }
        if (is("--seed", false)) {
            if (!value_of(arg, inline_value, value)) return false;
            std::string error = read_seed(value, o.seed);
            return error.empty() || fail(std::move(error));
        }
        if (is("--font-size", false)) {
            if (!value_of(arg, inline_value, value)) return false;
            int size = 0;
            if (!parse_number(value, size) || size < min_font_size || size > max_font_size)
                return fail("--font-size wants pixels from " + std::to_string(min_font_size) + " to " +
                            std::to_string(max_font_size) + ", not '" + std::string(value) + "'");
            o.font_size = size;
            return true;
        }
        return fail("unknown option '" + std::string(arg) + "' (see --help)");
    }
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
    Parser parser{args, 0, {}};
    for (; parser.i < args.size(); ++parser.i) {
        if (!parser.one(args[parser.i])) return parser.result;
        if (parser.result.options.mode != X11Mode::aquarium) return parser.result;
    }
    // Each names the window to draw into; with both, one would be ignored.
    const X11Options& o = parser.result.options;
    if (o.root && o.window_id) parser.fail("choose only one of --root and --window-id");
    return parser.result;
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
           "  --window-id ID         draw into the window ID (0x... or decimal); also -window-id\n"
           "  --fps N                ticks per second, 1 to 60 (default 10)\n"
           "  --seed N               seed the aquarium with N (default: the time in seconds)\n"
           "  --font-size PX         font height in pixels, 4 to 512 (default: a ninety-sixth\n"
           "                         of the window's height, at least 8)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when the X server goes away, 2 for a bad option,\n"
           "a window id that names no window, or a display that cannot be opened.\n";
}

} // namespace gm
