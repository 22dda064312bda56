#pragma once
#include <string>
#include <string_view>

#include "engine/random.h"
#include "sprites/catalogue.h"
#include "sprites/sprite_frame.h"

namespace gm {

// Replaces each digit slot '1'..'9' by a colour letter drawn for that digit;
// always draws nine numbers, whether or not the mask holds digits.
std::string randomize_mask(std::string_view mask_text, bool white_eye, Random& random);

SpriteFrame build_frame(const SpriteArt& art, Colour default_colour, bool randomize, bool white_eye,
                        Random& random);

} // namespace gm
