#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const ship_right = R"art(
            |>
       _____|_____
       \    |    /
        \   |   /
_________\__|__/_________
 \__o__o__o___o__o__o__/
)art";
const char* const ship_right_mask = R"art(
            y

       w         w
        w       w
yyyyyyyyywyyyyywyyyyyyyyy
 yyyyyyyyyyyyyyyyyyyyyyy
)art";
const char* const ship_left = R"art(
           <|
       _____|_____
       \    |    /
        \   |   /
_________\__|__/_________
 \__o__o__o___o__o__o__/
)art";
const char* const ship_left_mask = R"art(
            y

       w         w
        w       w
yyyyyyyyywyyyyywyyyyyyyyy
 yyyyyyyyyyyyyyyyyyyyyyy
)art";

} // namespace

CatalogueEntry ship_entry()
{
    return {"ship", {{ship_right, ship_right_mask}, {ship_left, ship_left_mask}}, {}, {}};
}

} // namespace gm
