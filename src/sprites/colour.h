#pragma once
#include <cstdint>

namespace gm {

// Colours are 0x00BBGGRR: red in the low byte, as the Windows GDI wants them.
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour black = 0x000000;
inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour grey = 0xAAAAAA;
inline constexpr Colour bright_red = 0x0000FF;
inline constexpr Colour dark_red = 0x0000AA;
inline constexpr Colour bright_green = 0x00FF00;
inline constexpr Colour dark_green = 0x00AA00;
inline constexpr Colour bright_blue = 0xFF0000;
inline constexpr Colour dark_blue = 0xAA0000;
inline constexpr Colour bright_yellow = 0x00FFFF;
inline constexpr Colour dark_yellow = 0x00AAAA;
inline constexpr Colour bright_cyan = 0xFFFF00;
inline constexpr Colour dark_cyan = 0xAAAA00;
inline constexpr Colour bright_magenta = 0xFF00FF;
inline constexpr Colour dark_magenta = 0xAA00AA;
} // namespace colours

// The channels of a colour, 0 to 255 each.
constexpr unsigned red_of(Colour colour) { return colour & 0xFF; }
constexpr unsigned green_of(Colour colour) { return (colour >> 8) & 0xFF; }
constexpr unsigned blue_of(Colour colour) { return (colour >> 16) & 0xFF; }

// The colour a mask character names; every character that is not one of the
// fourteen colour letters stands for the frame's default colour.
constexpr Colour colour_of(char mask_char, Colour default_colour)
{
    switch (mask_char) {
    case 'W': return colours::white;
    case 'w': return colours::grey;
    case 'R': return colours::bright_red;
    case 'r': return colours::dark_red;
    case 'G': return colours::bright_green;
    case 'g': return colours::dark_green;
    case 'B': return colours::bright_blue;
    case 'b': return colours::dark_blue;
    case 'Y': return colours::bright_yellow;
    case 'y': return colours::dark_yellow;
    case 'C': return colours::bright_cyan;
    case 'c': return colours::dark_cyan;
    case 'M': return colours::bright_magenta;
    case 'm': return colours::dark_magenta;
    default: return default_colour;
    }
}

} // namespace gm
