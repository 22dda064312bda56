#include "sprites/catalogue.h"
#include "sprites/art/shared_fish.h"

namespace gm {

namespace {

const char* const round_right = R"art(
       __
  |\??/  `--.
  | \/ )   o`.
  | /\ )     <
  |/??`--,--'
         \/
)art";
const char* const round_right_mask = R"art(
       22
  66  1  1111
  6 66 7   411
  6 66 7     5
  66  1111111
         33
)art";
const char* const round_left = R"art(
     __
 .--'  \??/|  
.'o   ( \/ |
>     ( /\ |
 `--,--'??\|
   \/
)art";
const char* const round_left_mask = R"art(
     22
 1111  1  66
114   7 66 6
5     7 66 6
 1111111  66
   33
)art";

const char* const stubby_right = R"art(
   ,
 |\/`.
 | ) o>
 |/\,'
   `
)art";
const char* const stubby_right_mask = R"art(
   2
 66111
 6 7 45
 66111
   3
)art";
const char* const stubby_left = R"art(
   ,
 .'\/| 
<o ( |
 `,/\|
   '
)art";
const char* const stubby_left_mask = R"art(
   2
 11166
54 7 6
 11166
   3
)art";

const char* const long_right = R"art(
      _,.
 \`._/   `-.___
  >_    ))  o  >
 /,'`-.____.--'
        `'
)art";
const char* const long_right_mask = R"art(
      222
 66661   111111
  66    77  4  5
 66661111111111
        33
)art";
const char* const long_left = R"art(
       .,_
 ___.-'   \_.'/ 
<  o  ((    _<
 `--.____.-'`,\
      `'
)art";
const char* const long_left_mask = R"art(
       222
 111111   16666
5  4  77    66
 11111111116666
      33
)art";

const char* const minnow_right = R"art(
  ,
><(o>
  `
)art";
const char* const minnow_right_mask = R"art(
  2
66145
  3
)art";
const char* const minnow_left = R"art(
  ,
<o)><
  '
)art";
const char* const minnow_left_mask = R"art(
  2
54166
  3
)art";

const char* const pouter_right = R"art(
   ,__,
>>=(   o>
   `--'
)art";
const char* const pouter_right_mask = R"art(
   2221
6661   45
   1111
)art";
const char* const pouter_left = R"art(
  ,__,
<o   )=<<
  `--'
)art";
const char* const pouter_left_mask = R"art(
  1222
54   1666
  1111
)art";

const char* const small_round_right_mask = R"art(
  22
67  1
6   45
67111
  33
)art";
const char* const small_round_left_mask = R"art(
  22
 1  76
54   6
 11176
  33
)art";

const char* const darter_right = R"art(
  _
><'o)
  ~
)art";
const char* const darter_right_mask = R"art(
  2
66745
  3
)art";
const char* const darter_left = R"art(
  _
(o`><
  ~
)art";
const char* const darter_left_mask = R"art(
  2
54766
  3
)art";

const char* const tiddler_right = R"art(
  .
>{_o>
  '
)art";
const char* const tiddler_right_mask = R"art(
  2
66145
  3
)art";
const char* const tiddler_left = R"art(
  .
<o_}<
  `
)art";
const char* const tiddler_left_mask = R"art(
  2
54166
  3
)art";

} // namespace

CatalogueEntry old_fish_entry()
{
    return {"old_fish",
            {
                {round_right, round_right_mask},
                {round_left, round_left_mask},
                {stubby_right, stubby_right_mask},
                {stubby_left, stubby_left_mask},
                {long_right, long_right_mask},
                {long_left, long_left_mask},
                {minnow_right, minnow_right_mask},
                {minnow_left, minnow_left_mask},
                {pouter_right, pouter_right_mask},
                {pouter_left, pouter_left_mask},
                {small_round_right, small_round_right_mask},
                {small_round_left, small_round_left_mask},
                {darter_right, darter_right_mask},
                {darter_left, darter_left_mask},
                {tiddler_right, tiddler_right_mask},
                {tiddler_left, tiddler_left_mask},
            },
            {},
            {}};
}

} // namespace gm
