#include "host/common/colour_rule.h"

#include <array>
#include <charconv>

#include "render/text_render.h"

namespace gm {

namespace {

constexpr std::array<unsigned, 6> cube_levels = {0, 95, 135, 175, 215, 255};

int nearest_level(unsigned channel)
{
    int best = 0;
    for (int i = 1; i < 6; ++i) {
        const int distance = static_cast<int>(channel) - static_cast<int>(cube_levels[static_cast<std::size_t>(i)]);
        const int best_distance = static_cast<int>(channel) - static_cast<int>(cube_levels[static_cast<std::size_t>(best)]);
        if (distance * distance < best_distance * best_distance) best = i;
    }
    return best;
}

void append_number(std::string& out, unsigned value)
{
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

} // namespace

ColourDepth colour_depth_for(std::string_view colorterm, std::string_view term, int colours)
{
    if (colorterm == "truecolor" || colorterm == "24bit" || term.ends_with("-direct")) return ColourDepth::truecolor;
    if (colours >= 256) return ColourDepth::palette256;
    if (colours >= 16) return ColourDepth::sixteen;
    if (colours >= 8) return ColourDepth::eight;
    return ColourDepth::none;
}

std::optional<ColourDepth> colour_depth_named(std::string_view name)
{
    for (ColourDepth depth : {ColourDepth::truecolor, ColourDepth::palette256, ColourDepth::sixteen,
                              ColourDepth::eight, ColourDepth::none})
        if (name == colour_depth_name(depth)) return depth;
    return std::nullopt;
}

std::string_view colour_depth_name(ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::truecolor: return "truecolor";
    case ColourDepth::palette256: return "256";
    case ColourDepth::sixteen: return "16";
    case ColourDepth::eight: return "8";
    case ColourDepth::none: return "none";
    }
    return "none";
}

int nearest_cube_index(Colour colour)
{
    return 16 + 36 * nearest_level(red_of(colour)) + 6 * nearest_level(green_of(colour)) +
           nearest_level(blue_of(colour));
}

void append_foreground(std::string& out, Colour colour, ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::truecolor:
        out += "\x1b[38;2;";
        append_number(out, red_of(colour));
        out += ';';
        append_number(out, green_of(colour));
        out += ';';
        append_number(out, blue_of(colour));
        out += 'm';
        return;
    case ColourDepth::palette256:
        out += "\x1b[38;5;";
        append_number(out, static_cast<unsigned>(nearest_cube_index(colour)));
        out += 'm';
        return;
    case ColourDepth::sixteen:
    case ColourDepth::eight: {
        int index = terminal_colour_index(colour);
        if (depth == ColourDepth::eight) index &= 7;
        out += "\x1b[";
        append_number(out, static_cast<unsigned>(ansi_foreground_code(index)));
        out += 'm';
        return;
    }
    case ColourDepth::none: return;
    }
}

} // namespace gm
