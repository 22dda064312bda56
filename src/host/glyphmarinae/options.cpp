#include "host/glyphmarinae/options.h"

#include <initializer_list>
#include <string_view>

#include "record/record_format.h"
#include "host/common/option_values.h"

namespace gm {

namespace {

bool parse_size(std::string_view text, std::int32_t& columns, std::int32_t& rows)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    return parse_number(text.substr(0, x), columns) && parse_number(text.substr(x + 1), rows) && columns >= 1 &&
           rows >= 1 && columns <= max_grid_side && rows <= max_grid_side;
}

using ModeSet = unsigned;

constexpr ModeSet modes(std::initializer_list<Mode> list)
{
    ModeSet set = 0;
    for (Mode mode : list) set |= 1u << static_cast<unsigned>(mode);
    return set;
}

constexpr int max_gif_fps = 50;

constexpr ModeSet headless = modes({Mode::dump, Mode::entities, Mode::record});

std::string_view mode_name(Mode mode)
{
    switch (mode) {
    case Mode::dump: return "--dump";
    case Mode::entities: return "--entities";
    case Mode::gallery: return "--gallery";
    case Mode::record: return "--record";
    default: return "the terminal aquarium";
    }
}

// Sets one option from its value (empty for options that take none); false
// with `error` set when the value is not understood.
using Apply = bool (*)(Options&, std::string_view value, std::string& error);

struct OptionRule {
    std::string_view name;
    std::string_view alias;
    bool takes_value;
    ModeSet used_by; // the modes in which the option changes anything
    Apply apply;
};

constexpr const char* one_mode_only = "choose only one of --dump, --entities, --gallery and --record";

bool wrong(std::string& error, std::string_view message, std::string_view value)
{
    error = std::string(message) + ", not '" + std::string(value) + "'";
    return false;
}

const OptionRule rules[] = {
    {"--size", "", true, headless,
     [](Options& o, std::string_view value, std::string& error) {
         if (!parse_size(value, o.columns, o.rows))
             return wrong(error, "--size wants COLUMNSxROWS, each from 1 to " + std::to_string(max_grid_side), value);
         return o.size_given = true;
     }},
    {"--ticks", "", true, headless,
     [](Options& o, std::string_view value, std::string& error) {
         if (!parse_number(value, o.ticks) || o.ticks < 0)
             return wrong(error, "--ticks wants a whole number of 0 or more", value);
         return o.ticks_given = true;
     }},
    {"--seed", "", true, modes({Mode::aquarium, Mode::dump, Mode::entities, Mode::record}),
     [](Options& o, std::string_view value, std::string& error) {
         error = read_seed(value, o.seed);
         return error.empty();
     }},
    {"--fps", "", true, modes({Mode::aquarium, Mode::record}),
     [](Options& o, std::string_view value, std::string& error) {
         error = read_fps(value, o.fps);
         return error.empty();
     }},
    {"--colour", "--color", false, modes({Mode::dump, Mode::gallery}),
     [](Options& o, std::string_view, std::string&) { return o.colour = true; }},
    {"--terminal-background", "", false, modes({Mode::aquarium}),
     [](Options& o, std::string_view, std::string&) { return o.terminal_background = true; }},
    // A mode that takes a value: the file to record into.
    {"--record", "", true, modes({Mode::record}),
     [](Options& o, std::string_view value, std::string& error) {
         if (o.mode != Mode::aquarium && o.mode != Mode::record) return error = one_mode_only, false;
         if (!record_format_of(value)) return wrong(error, "--record wants a file name ending in .cast, .gif or .png", value);
         o.mode = Mode::record;
         o.record_file = value;
         return true;
     }},
    {"--timestamp", "", true, modes({Mode::record}),
     [](Options& o, std::string_view value, std::string& error) {
         std::int64_t seconds = 0;
         if (!parse_number(value, seconds) || seconds < 0)
             return wrong(error, "--timestamp wants a whole number of seconds of 0 or more", value);
         o.timestamp = seconds;
         return true;
     }},
    {"--ambient", "", false, modes({Mode::aquarium}),
     [](Options& o, std::string_view, std::string&) { return o.ambient = true; }},
};

struct ModeRule {
    std::string_view name;
    Mode mode;
};

constexpr ModeRule mode_rules[] = {
    {"--dump", Mode::dump}, {"--entities", Mode::entities}, {"--gallery", Mode::gallery},
    {"--help", Mode::help}, {"-h", Mode::help},             {"--version", Mode::version},
};

struct Given {
    const OptionRule* rule;
    std::string spelling; // as the user wrote it, for the message
};

struct Parser {
    const std::vector<std::string>& args;
    std::size_t i = 0;
    ParseResult result;
    std::vector<Given> given;

    bool fail(std::string message)
    {
        result.error = std::move(message);
        return false;
    }

    bool set_mode(Mode mode)
    {
        Mode& current = result.options.mode;
        if (mode == Mode::help || mode == Mode::version) return current = mode, true;
        if (current != Mode::aquarium && current != mode)
            return fail(one_mode_only);
        current = mode;
        return true;
    }

    bool one(std::string_view arg)
    {
        // Both "--seed 5" and "--seed=5"; a value is never taken from the next option.
        std::string_view name = arg;
        std::string_view value;
        bool inline_value = false;
        if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            inline_value = true;
        }
        for (const ModeRule& rule : mode_rules) {
            if (name != rule.name) continue;
            if (inline_value) return fail(std::string(name) + " takes no value");
            return set_mode(rule.mode);
        }
        for (const OptionRule& rule : rules) {
            if (name != rule.name && (rule.alias.empty() || name != rule.alias)) continue;
            if (!rule.takes_value && inline_value) return fail(std::string(name) + " takes no value");
            if (rule.takes_value && !inline_value) {
                if (i + 1 >= args.size() || std::string_view(args[i + 1]).starts_with("--"))
                    return fail(std::string(name) + " needs a value");
                value = args[++i];
            }
            given.push_back({&rule, std::string(name)});
            return rule.apply(result.options, value, result.error);
        }
        return fail("unknown option '" + std::string(arg) + "' (see --help)");
    }

    // An option that would change nothing in the chosen mode is a mistake the
    // user should hear of, not a silent no-op.
    bool check_uses()
    {
        const Mode mode = result.options.mode;
        if (mode == Mode::help || mode == Mode::version) return true;
        for (const Given& g : given)
            if ((g.rule->used_by & modes({mode})) == 0)
                return fail(g.spelling + " has no effect with " + std::string(mode_name(mode)));
        return mode != Mode::record || check_record();
    }

    // Some options mean something to one format only.
    bool check_record()
    {
        const Options& o = result.options;
        const RecordFormat format = *record_format_of(o.record_file);
        if (o.timestamp && format != RecordFormat::cast) return fail("--timestamp has no effect without a .cast");
        // Viewers show a delay below two hundredths of a second as a tenth.
        if (format == RecordFormat::gif && o.fps > max_gif_fps)
            return fail("a .gif plays at most " + std::to_string(max_gif_fps) + " frames a second, not " +
                        std::to_string(o.fps));
        return true;
    }
};

} // namespace

ParseResult parse_options(const std::vector<std::string>& args)
{
    Parser parser{args, 0, {}, {}};
    for (; parser.i < args.size(); ++parser.i) {
        if (!parser.one(args[parser.i])) return parser.result;
        const Mode mode = parser.result.options.mode;
        if (mode == Mode::help || mode == Mode::version) return parser.result;
    }
    parser.check_uses();
    return parser.result;
}
std::string version_text() { return "glyphmarinae " GLYPH_VERSION "\n"; }

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
           "  --record FILE          record the aquarium into FILE and exit: an asciinema\n"
           "                         cast (.cast), an animated GIF (.gif) or a picture (.png)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Options (each also as --name=value):\n"
           "  --seed N               seed the aquarium with N (default: the time in seconds)\n"
           "  --size COLSxROWS       grid size for --dump, --entities and --record (default\n"
           "                         80x24, each side 1 to 1000)\n"
           "  --ticks N              ticks to run before --dump or --entities prints (default 0);\n"
           "                         for --record, the ticks recorded after the first frame\n"
           "                         (default 300; a .png shows the last of them)\n"
           "  --colour               colour the --dump or --gallery output with ANSI codes\n"
           "                         (the gallery is coloured on a terminal anyway)\n"
           "  --fps N                ticks per second in the terminal, and the playback rate\n"
           "                         of a recording, 1 to 60, for a .gif to 50 (default 10)\n"
           "  --timestamp N          the start time written into a .cast, in seconds since\n"
           "                         1970 (default: now), so that a recording can be repeated\n"
           "  --terminal-background  keep the terminal's own background instead of black\n"
           "  --ambient              keep swimming: other keys and the mouse do not end it\n"
           "An option that has no effect in the chosen mode is an error.\n"
           "\n"
           "Keys with --ambient:\n"
           "  q, Esc, Ctrl-C         end it\n"
           "  space                  pause or resume\n"
           "  n                      a new aquarium with a new seed, shown on the last row\n"
           "\n"
           "Exit status: 0 on success, 1 when the output cannot be written, 2 for a bad\n"
           "option or when the terminal cannot be used, 128+N when signal N ended it.\n";
}

} // namespace gm
