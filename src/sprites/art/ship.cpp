#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const ship_right = R"art(
        |~??????|~
       /|??????/|\
      /:|?????/:|:\
 __??/::|????/::|::\
|__|/___|___/___|___\___.
 \___o___o___o___o_____/
)art";
const char* const ship_right_mask = R"art(
        yy      yy

      w w     w w w
     w  w    w  w  w
yyyywyyyyyyywyyyyyyywyyyy
 yyyyyyyyyyyyyyyyyyyyyyy
)art";

const char* const ship_left = R"art(
       ~|??????~|
       /|\??????|\
      /:|:\?????|:\
     /::|::\????|::\??__
.___/___|___\___|___\|__|
 \_____o___o___o___o___/
)art";
const char* const ship_left_mask = R"art(
       yy      yy

      w w w     w w
     w  w  w    w  w
yyyywyyyyyyywyyyyyyywyyyy
 yyyyyyyyyyyyyyyyyyyyyyy
)art";

} // namespace

CatalogueEntry ship_entry()
{
    return {"ship", {{ship_right, ship_right_mask}, {ship_left, ship_left_mask}}, {}, {}};
}

} // namespace gm
