#include "sprites/colouring.h"

#include <array>

namespace gm {

namespace {

// 'M' is the twelfth letter and the draw is "% 11", so bright magenta is
// never chosen; the letter stays for the palette's symmetry.
constexpr std::string_view palette = "cCrRyYbBgGmM";
constexpr std::size_t palette_draw_range = 11;

} // namespace

std::string randomize_mask(std::string_view mask_text, bool white_eye, Random& random)
{
    std::array<char, 9> slots{};
    for (char& slot : slots) slot = palette[static_cast<std::size_t>(random.next()) % palette_draw_range];
    if (white_eye) slots['4' - '1'] = 'W';

    std::string mask(mask_text);
    for (char& c : mask)
        if (c >= '1' && c <= '9') c = slots[static_cast<std::size_t>(c - '1')];
    return mask;
}

SpriteFrame build_frame(const SpriteArt& art, Colour default_colour, bool randomize, bool white_eye, Random& random)
{
    std::string mask = art.mask_text;
    if (randomize) mask = randomize_mask(mask, white_eye, random);
    return SpriteFrame(art.picture_text, mask, default_colour, false);
}

} // namespace gm
