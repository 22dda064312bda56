#pragma once
#include <string_view>

#include "sprites/colour.h"

namespace gm {

// How the creators colour the pictures of one catalogue entry: the colour of
// the mask's unmarked cells, random colours in its digit slots, a white eye.
// Every creator takes its entry's look from here, and so does the gallery,
// so the art is shown as it swims.
struct Look {
    std::string_view key;
    Colour colour;
    bool randomize;
    bool white_eye;
};

inline constexpr Look catalogue_looks[] = {
    {"big_fish_1", colours::bright_yellow, true, false},
    {"big_fish_2", colours::bright_yellow, true, false},
    {"castle", colours::white, false, false},
    {"dolphin", colours::bright_cyan, false, false}, // the leader; the school behind it is bluer
    {"duck", colours::white, false, false},
    {"new_fish", colours::white, true, true},
    {"new_monster", colours::bright_green, false, false},
    {"old_fish", colours::white, true, true},
    {"shark", colours::dark_cyan, false, false},
    {"ship", colours::white, false, false},
    {"submarine", colours::bright_yellow, false, false},
    {"swan", colours::white, false, false},
    {"sword_fish", colours::bright_yellow, true, false},
    {"whale", colours::bright_blue, false, false},
};

// An entry no creator draws gets plain white.
constexpr Look look_of(std::string_view key)
{
    for (const Look& look : catalogue_looks)
        if (look.key == key) return look;
    return {key, colours::white, false, false};
}

} // namespace gm
