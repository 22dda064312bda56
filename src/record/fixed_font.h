#pragma once
#include <array>
#include <cstdint>

namespace gm {

// The pictures' one font: X11's misc-fixed 9x15 bold, a byte's glyph at its
// ISO 8859-1 code.
inline constexpr int font_width = 9;
inline constexpr int font_height = 15;

// A glyph's rows from the top; the highest of a row's nine bits is its
// leftmost pixel.
using FontGlyph = std::array<std::uint16_t, font_height>;

extern const std::array<FontGlyph, 256> fixed_font;

inline bool font_pixel(unsigned char byte, int x, int y)
{
    return (fixed_font[byte][static_cast<std::size_t>(y)] >> (font_width - 1 - x)) & 1;
}

} // namespace gm
