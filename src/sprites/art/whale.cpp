#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const whale_right = R"art(
        .-----:-.
\`.??.-'         `.
 \ `'         o   )
 /.-'`-.____\___,-'
)art";
const char* const whale_right_mask = R"art(
        BBBBBBBBB
BBB  BBB         BB
 B BB         W   B
 BBBBBBBBBBBBBBBBBB
)art";

const char* const whale_left = R"art(
  .-:-----.
.'         `-.??.'/
(   o         `' /
`-,___/____.-'`-.\
)art";
const char* const whale_left_mask = R"art(
  BBBBBBBBB
BB         BBB  BBB
B   W         BB B
BBBBBBBBBBBBBBBBBB
)art";

// The spout rises from a trickle to a spray and falls apart again.
const char* const spout_0 = R"art(


   :
)art";
const char* const spout_1 = R"art(

   :
   :
)art";
const char* const spout_2 = R"art(
  .:.
   :
   :
)art";
const char* const spout_3 = R"art(
 .':'.
  ':'
   :
)art";
const char* const spout_4 = R"art(
.-':'-.
'  :  '
   :
)art";
const char* const spout_5 = R"art(

'. : .'
.  :  .
)art";
const char* const spout_6 = R"art(


.  .  .
)art";

} // namespace

CatalogueEntry whale_entry()
{
    return {"whale",
            {{whale_right, whale_right_mask}, {whale_left, whale_left_mask}},
            {},
            {spout_0, spout_1, spout_2, spout_3, spout_4, spout_5, spout_6}};
}

} // namespace gm
