#include "host/glyphmarinae/options.h"

#include <limits>
#include <string_view>

#include "host/common/option_table.h"
#include "host/common/option_values.h"
#include "record/record.h"
#include "record/record_format.h"

namespace gm {

namespace {

bool parse_size(std::string_view text, std::int32_t& columns, std::int32_t& rows)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    return parse_number(text.substr(0, x), columns) && parse_number(text.substr(x + 1), rows) && columns >= 1 &&
           rows >= 1 && columns <= max_grid_side && rows <= max_grid_side;
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

constexpr const char* one_mode_only = "choose only one of --dump, --entities, --gallery and --record";

std::string wrong(std::string_view message, std::string_view value)
{
    return std::string(message) + ", not '" + std::string(value) + "'";
}

std::string set_mode(Options& o, Mode mode)
{
    if (mode != Mode::help && mode != Mode::version && o.mode != Mode::aquarium && o.mode != mode)
        return one_mode_only;
    o.mode = mode;
    return {};
}

template <Mode mode>
std::string choose(Options& o, std::string_view)
{
    return set_mode(o, mode);
}

const OptionRule<Options> rules[] = {
    {"--dump", "", false, every_mode, choose<Mode::dump>},
    {"--entities", "", false, every_mode, choose<Mode::entities>},
    {"--gallery", "", false, every_mode, choose<Mode::gallery>},
    {"--help", "-h", false, every_mode, choose<Mode::help>},
    {"--version", "", false, every_mode, choose<Mode::version>},
    {"--size", "", true, headless,
     [](Options& o, std::string_view value) {
         if (!parse_size(value, o.columns, o.rows))
             return wrong("--size wants COLUMNSxROWS, each from 1 to " + std::to_string(max_grid_side), value);
         o.size_given = true;
         return std::string();
     }},
    {"--ticks", "", true, headless,
     [](Options& o, std::string_view value) {
         if (!parse_number(value, o.ticks) || o.ticks < 0)
             return wrong("--ticks wants a whole number from 0 to " +
                              std::to_string(std::numeric_limits<std::int64_t>::max()),
                          value);
         o.ticks_given = true;
         return std::string();
     }},
    {"--seed", "", true, modes({Mode::aquarium, Mode::dump, Mode::entities, Mode::record}),
     [](Options& o, std::string_view value) { return read_seed(value, o.seed); }},
    {"--fps", "", true, modes({Mode::aquarium, Mode::record}),
     [](Options& o, std::string_view value) {
         o.fps_given = true;
         return read_fps(value, o.fps);
     }},
    {"--colour", "--color", false, modes({Mode::dump, Mode::gallery}), switch_on<&Options::colour>},
    {"--terminal-background", "", false, modes({Mode::aquarium}), switch_on<&Options::terminal_background>},
    {"--terminal-colours", "--terminal-colors", false, modes({Mode::aquarium}), switch_on<&Options::terminal_colours>},
    // A mode that takes a value: the file to record into.
    {"--record", "", true, modes({Mode::record}),
     [](Options& o, std::string_view value) {
         if (std::string error = set_mode(o, Mode::record); !error.empty()) return error;
         if (!record_format_of(value)) return wrong("--record wants a file name ending in .cast, .gif or .png", value);
         o.record_file = value;
         return std::string();
     }},
    {"--timestamp", "", true, modes({Mode::record}),
     [](Options& o, std::string_view value) {
         std::int64_t seconds = 0;
         if (!parse_number(value, seconds) || seconds < 0)
             return wrong("--timestamp wants a whole number of seconds of 0 or more", value);
         o.timestamp = seconds;
         return std::string();
     }},
    {"--ambient", "", false, modes({Mode::aquarium}), switch_on<&Options::ambient>},
    {"--scale", "", true, modes({Mode::record}),
     [](Options& o, std::string_view value) {
         if (!parse_number(value, o.scale) || o.scale < 1 || o.scale > max_scale)
             return wrong("--scale wants a whole number from 1 to " + std::to_string(max_scale), value);
         o.scale_given = true;
         return std::string();
     }},
};

// Some options mean something to one format only.
std::string check_record(const Options& o)
{
    const RecordFormat format = *record_format_of(o.record_file);
    if (o.timestamp && format != RecordFormat::cast) return "--timestamp has no effect without a .cast";
    if (o.scale_given && format == RecordFormat::cast) return "--scale has no effect without a .gif or .png";
    if (o.fps_given && format == RecordFormat::png) return "--fps has no effect with a .png";
    // Viewers show a delay below two hundredths of a second as a tenth.
    if (format == RecordFormat::gif && o.fps > max_gif_fps)
        return "a .gif plays at most " + std::to_string(max_gif_fps) + " frames a second, not " + std::to_string(o.fps);
    return {};
}

} // namespace

ParseResult parse_options(const std::vector<std::string>& args)
{
    ParseResult result = read_options<Options>(rules, args, mode_name);
    if (result.error.empty() && result.options.mode == Mode::record) result.error = check_record(result.options);
    return result;
}

std::string version_text() { return "glyphmarinae " GLYPH_VERSION "\n"; }

namespace {

constexpr const char usage[] =
    "Usage: glyphmarinae [OPTION]...\n"
    "An aquarium drawn in coloured characters. With no mode option it fills the\n"
    "terminal until a key, a click or a mouse movement ends it.\n"
    "\n"
    "Modes:\n"
    "  (none)                 run the aquarium full-screen in this terminal\n"
    "  --dump                 print one composed scene as text and exit\n"
    "  --entities             print the scene's live entities as JSON lines and exit\n"
    "  --gallery              print every picture the aquarium draws and exit\n"
    "  --record FILE          record the aquarium into FILE and exit: an asciinema\n"
    "                         cast (.cast), an animated GIF (.gif) or a picture\n"
    "                         (.png)\n"
    "  --help, -h             show this help and exit\n"
    "  --version              show the version and exit\n"
    "\n"
    "Options (each also as --name=value):\n"
    "  --seed N               seed the aquarium with N, 0 to 4294967295 (default:\n"
    "                         mixed from the clock and the process id)\n"
    "  --size COLSxROWS       grid size for --dump, --entities and --record (default\n"
    "                         80x24, each side 1 to 1000)\n"
    "  --ticks N              ticks to run before --dump or --entities prints\n"
    "                         (default 0); for --record, the ticks recorded after\n"
    "                         the first frame (default 300; a .png shows the last)\n"
    "  --colour               colour the --dump or --gallery output with ANSI codes\n"
    "                         (the gallery is coloured on a terminal anyway)\n"
    "  --fps N                ticks per second in the terminal, and the playback\n"
    "                         rate of a .cast or .gif, 1 to 60, for a .gif to 50\n"
    "                         (default 10)\n"
    "  --scale N              pixels per pixel of the font in a .gif or .png, 1 to 4\n"
    "                         (default 1: a cell is 9x15 pixels)\n"
    "  --timestamp N          the start time written into a .cast, in seconds since\n"
    "                         1970 (default: now), so a recording can be repeated\n"
    "  --terminal-background  keep the terminal's own background instead of black\n"
    "  --terminal-colours     draw in the terminal's own sixteen colours, as its\n"
    "                         theme paints them, instead of the aquarium's (the\n"
    "                         256-colour cube where the terminal has it)\n"
    "  --ambient              keep swimming: other keys and the mouse do not end it\n"
    "An option given twice, or one that has no effect in the chosen mode, is an\n"
    "error.\n"
    "\n"
    "Keys with --ambient:\n"
    "  q, Q, Esc, Ctrl-C      end it\n"
    "  space                  pause (the last row says so, with the seed) or resume\n"
    "  n                      a new aquarium with a new seed, shown on the last row\n"
    "\n"
    "Environment:\n"
    "  NO_COLOR               set and not empty: the aquarium and the gallery without\n"
    "                         colour (--colour still colours --dump and --gallery)\n"
    "\n"
    "Exit status: 0 on success, 1 when the output cannot be written, 2 for a bad\n"
    "option or when the terminal cannot be used, 128+N when signal N ended it.\n";

} // namespace

std::string usage_text() { return usage; }

} // namespace gm
