#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const big_fish_1_right = R"art(
            _.--------._
 |`.     .-'  /  /  /   `-.
 |  `. ,'    /  /  /  /    `.
 |    V     (  (  (  (  ,-.  `.
 |    (     (  (  (  ( (   )   `.
 |    |     |  |  |  |  `-'o     \
 |    (     (  (  (  (           >
 |    ,\    (  (  (  (       ___.'
 |  ,'  `.   \  \  \  \   .-'
 |,'      `.  \  \  \  \.'
           `.  \  \  \ |
             `-.\  \  \|
                `-.__.-'
                 /_/
)art";
const char* const big_fish_1_right_mask = R"art(
            222222222211
 111     222  1  1  1   221
 1  11 11    1  1  1  1    11
 1    1     1  1  1  1  111  11
 1    1     1  1  1  1 1   1   11
 1    1     1  1  1  1  111W     1
 1    1     1  1  1  1           1
 1    11    1  1  1  1       11111
 1  11  11   1  1  1  1   111
 111      11  1  1  1  111
           11  1  1  1 1
             1111  1  11
                11111111
                 111
)art";
const char* const big_fish_1_left = R"art(
          _.--------._
       .-'   \  \  \  `-.     .'| 
     .'    \  \  \  \    `, .'  |
   .'  .-,  )  )  )  )     V    |
 .'   (   ) )  )  )  )     )    |
/     o`-'  |  |  |  |     |    |
<           )  )  )  )     )    |
`.___       )  )  )  )    /,    |
     `-.   /  /  /  /   .'  `,  |
        `./  /  /  /  .'      `,|
          | /  /  /  .'
          |/  /  /.-'
          `-.__.-'
              \_\
)art";
const char* const big_fish_1_left_mask = R"art(
          112222222222
       122   1  1  1  222     111
     11    1  1  1  1    11 11  1
   11  111  1  1  1  1     1    1
 11   1   1 1  1  1  1     1    1
1     W111  1  1  1  1     1    1
1           1  1  1  1     1    1
11111       1  1  1  1    11    1
     111   1  1  1  1   11  11  1
        111  1  1  1  11      111
          1 1  1  1  11
          11  1  1111
          11111111
              111
)art";

} // namespace

CatalogueEntry big_fish_1_entry()
{
    return {"big_fish_1", {{big_fish_1_right, big_fish_1_right_mask}, {big_fish_1_left, big_fish_1_left_mask}}, {}, {}};
}

} // namespace gm
