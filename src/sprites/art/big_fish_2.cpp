#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const big_fish_2_right = R"art(
        _.---------._
 .     ,'  ,  ,  ,   `-.
 |`. ,'   /  /  /       `.
 |  V     (  (  (  ,-.   `.
 |  |     |  |  |  (  )    `-.
 |  |     (  (  (   `'       `.
 |  |     |  |  |            o \
 |  ,\    (  (  (               >
 |,'  `.   \  \  \     `.____.-'
 '      `-. \  \  \.--'
           `-.__\  \/
                `-.'
                 \/
)art";
const char* const big_fish_2_right_mask = R"art(
        1122222222221
 1     22  1  1  1   122
 111 11   1  1  1       11
 1  1     1  1  1  111   11
 1  1     1  1  1  1  1    111
 1  1     1  1  1   11       11
 1  1     1  1  1            W 1
 1  11    1  1  1               1
 111  11   1  1  1     111111111
 1      111 1  1  11111
           111111  11
                1111
                 11
)art";
const char* const big_fish_2_left = R"art(
            _.---------._
         .-'   ,  ,  ,  `,     . 
       .'       \  \  \   `, .'|
      .'   .-,  )  )  )     V  |
   .-'    (  )  |  |  |     |  |
  .'       `'   )  )  )     |  |
 / o            |  |  |     |  |
<               )  )  )    /,  |
 `-.____.'     /  /  /   .'  `,|
          `--./  /  / .-'      `
            \/  /__.-'
             `.-'
              \/
)art";
const char* const big_fish_2_left_mask = R"art(
            1222222222211
         221   1  1  1  22     1
       11       1  1  1   11 111
      11   111  1  1  1     1  1
   111    1  1  1  1  1     1  1
  11       11   1  1  1     1  1
 1 W            1  1  1     1  1
1               1  1  1    11  1
 111111111     1  1  1   11  111
          11111  1  1 111      1
            11  111111
             1111
              11
)art";

} // namespace

CatalogueEntry big_fish_2_entry()
{
    return {"big_fish_2", {{big_fish_2_right, big_fish_2_right_mask}, {big_fish_2_left, big_fish_2_left_mask}}, {}, {}};
}

} // namespace gm
