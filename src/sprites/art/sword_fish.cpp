#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const sword_fish_right = R"art(
               ,
               |\
   |\       _.-' `-.._
   | \  _.-'  )       ``-.__
   |  >'  ))  )      (o)    ``------------------
   | /`-._    )    __..----------'
   |/     `--..__.'
               \|
                `
)art";
const char* const sword_fish_right_mask = R"art(
               2
               22
   66       1111 11111
   6 6  1111  7       111111
   6  61  77  7      444    11111111111111111111
   6 61111    7    111111111111111
   66     111111111
               33
                3
)art";
const char* const sword_fish_left = R"art(
                                 ,
                                /|
                           _..-' `-._       /|   
                     __.-''       (  `-._  / |
 ------------------''    (o)      (  ((  `<  |
               `----------..__    (    _.-'\ |
                              `.__..--'     \|
                                |/
                                '
)art";
const char* const sword_fish_left_mask = R"art(
                                 2
                                22
                           11111 1111       66
                     111111       7  1111  6 6
 11111111111111111111    444      7  77  16  6
               111111111111111    7    11116 6
                              111111111     66
                                33
                                3
)art";

} // namespace

CatalogueEntry sword_fish_entry()
{
    return {"sword_fish", {{sword_fish_right, sword_fish_right_mask}, {sword_fish_left, sword_fish_left_mask}}, {}, {}};
}

} // namespace gm
