#include "host/cli/options.h"

#include <charconv>
#include <string_view>

namespace gm {

namespace {

template <typename Number>
bool parse_number(std::string_view text, Number& value)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parse_size(std::string_view text, std::int32_t& columns, std::int32_t& rows)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    return parse_number(text.substr(0, x), columns) && parse_number(text.substr(x + 1), rows) && columns >= 1 &&
           rows >= 1 && columns <= max_grid_side && rows <= max_grid_side;
}

struct Parser {
    const std::vector<std::string>& args;
    std::size_t i = 0;
    ParseResult result;

    bool fail(std::string message)
    {
        result.error = std::move(message);
        return false;
    }

    bool value_of(std::string_view option, std::string_view& value)
    {
        if (i + 1 >= args.size()) return fail(std::string(option) + " needs a value");
        value = args[++i];
        return true;
    }

    bool set_mode(Mode mode)
    {
        if (result.options.mode != Mode::aquarium && result.options.mode != mode)
            return fail("choose only one of --dump, --entities and --gallery");
        result.options.mode = mode;
        return true;
    }

    bool one(std::string_view arg)
    {
        Options& o = result.options;
        std::string_view value;
        if (arg == "--help" || arg == "-h") return o.mode = Mode::help, true;
        if (arg == "--version") return o.mode = Mode::version, true;
        if (arg == "--dump") return set_mode(Mode::dump);
        if (arg == "--entities") return set_mode(Mode::entities);
        if (arg == "--gallery") return set_mode(Mode::gallery);
        if (arg == "--colour" || arg == "--color") return o.colour = true, true;
        if (arg == "--terminal-background") return o.terminal_background = true, true;
        if (arg == "--size") {
            if (!value_of(arg, value)) return false;
            if (!parse_size(value, o.columns, o.rows))
                return fail("--size wants COLUMNSxROWS, each from 1 to " + std::to_string(max_grid_side) + ", not '" +
                            std::string(value) + "'");
            o.size_given = true;
            return true;
        }
        if (arg == "--ticks") {
            if (!value_of(arg, value)) return false;
            if (!parse_number(value, o.ticks) || o.ticks < 0)
                return fail("--ticks wants a whole number of 0 or more, not '" + std::string(value) + "'");
            return true;
        }
        if (arg == "--seed") {
            if (!value_of(arg, value)) return false;
            std::uint32_t seed = 0;
            if (!parse_number(value, seed))
                return fail("--seed wants a whole number from 0 to 4294967295, not '" + std::string(value) + "'");
            o.seed = seed;
            return true;
        }
        if (arg == "--fps") {
            if (!value_of(arg, value)) return false;
            if (!parse_number(value, o.fps) || o.fps < 1 || o.fps > 60)
                return fail("--fps wants a whole number from 1 to 60, not '" + std::string(value) + "'");
            return true;
        }
        return fail("unknown option '" + std::string(arg) + "' (see --help)");
    }
};

} // namespace

ParseResult parse_options(const std::vector<std::string>& args)
{
    Parser parser{args, 0, {}};
    for (; parser.i < args.size(); ++parser.i) {
        if (!parser.one(args[parser.i])) break;
        const Mode mode = parser.result.options.mode;
        if (mode == Mode::help || mode == Mode::version) break;
    }
    return parser.result;
}

std::string version_text() { return "glyphmarinae 1.0.0\n"; }

std::string usage_text()
{
    return "Usage: glyphmarinae [OPTION]...\n"
           "An aquarium drawn in coloured characters. With no mode option it fills the\n"
           "terminal until a key, a click or a mouse movement ends it.\n"
           "\n"
           "Modes:\n"
           "  (none)                 run the aquarium full-screen in this terminal\n"
           "  --dump                 print one composed scene as text and exit\n"
           "  --entities             print the scene's live entities as JSON lines and exit\n"
           "  --gallery              print every catalogue picture and exit\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Options:\n"
           "  --seed N               seed the aquarium with N (default: the time in seconds)\n"
           "  --size COLSxROWS       grid size for --dump and --entities (default 80x24,\n"
           "                         each side 1 to 1000)\n"
           "  --ticks N              ticks to run before --dump or --entities prints (default 0)\n"
           "  --colour               colour the --dump output with ANSI codes\n"
           "  --fps N                ticks per second in the terminal, 1 to 60 (default 10)\n"
           "  --terminal-background  keep the terminal's own background instead of black\n"
           "\n"
           "Exit status: 0 on success, 2 for a bad option or when the terminal cannot be used.\n";
}

} // namespace gm
