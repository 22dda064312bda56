#include "sprites/catalogue.h"
#include "sprites/art/shared_fish.h"

namespace gm {

namespace {

const char* const small_round_right_mask = R"art(
  22
61  1
6   45
61111
  33
)art";
const char* const small_round_left_mask = R"art(
  22
 1  16
54   6
 11116
  33
)art";

const char* const tall_right = R"art(
    ,
   /|_
 |/   `-.
 |  )   o\
 |  )    <
 |\__,__.'
    \|
)art";
const char* const tall_right_mask = R"art(
    2
   221
 66   111
 6  7   41
 6  7    5
 661111111
    33
)art";
const char* const tall_left = R"art(
     ,
    _|\
 .-'   \| 
/o   (  |
>    (  |
`.__,__/|
    |/
)art";
const char* const tall_left_mask = R"art(
     2
    122
 111   66
14   7  6
5    7  6
111111166
    33
)art";

const char* const grand_right = R"art(
          _.--.
  __   .-'     `-._
 \  `./  ) )       `.
  >   |  ) )     o   `>
  >   |  ) )    ,    .'
 /  ,'\  ) )       _.'
  `'   `-._.-,__.-'
             `-'

)art";
const char* const grand_right_mask = R"art(
          22221
  66   111     1111
 6  111  7 7       11
  6   1  7 7     4   15
  6   1  7 7    5    11
 6  111  7 7       111
  66   111111111111
             333

)art";
const char* const grand_left = R"art(
        .--._
    _.-'     `-.   __
  .'       ( (  \.'  / 
<'   o     ( (  |   <
`.    ,    ( (  |   <
 `._       ( (  /`,  \
    `-.__,-._.-'   `'
       `-'
)art";
const char* const grand_left_mask = R"art(
        12222
    1111     111   66
  11       7 7  111  6
51   4     7 7  1   6
11    5    7 7  1   6
 111       7 7  111  6
    111111111111   66
       333
)art";

const char* const slender_right = R"art(
      __,
 |\.-'   ``--._
 |  ))     o  `>
 |/`-.,___.,--'
      `
)art";
const char* const slender_right_mask = R"art(
      222
 66111   111111
 6  77     4  15
 66111111111111
      3
)art";
const char* const slender_left = R"art(
       ,__
 _.--''   `-./| 
<'  o     ((  |
 `--,.___,.-'\|
         '
)art";
const char* const slender_left_mask = R"art(
       222
 111111   11166
51  4     77  6
 11111111111166
         3
)art";

} // namespace

CatalogueEntry new_fish_entry()
{
    return {"new_fish",
            {
                {small_round_right, small_round_right_mask},
                {small_round_left, small_round_left_mask},
                {tall_right, tall_right_mask},
                {tall_left, tall_left_mask},
                {grand_right, grand_right_mask},
                {grand_left, grand_left_mask},
                {slender_right, slender_right_mask},
                {slender_left, slender_left_mask},
            },
            {},
            {}};
}

} // namespace gm
