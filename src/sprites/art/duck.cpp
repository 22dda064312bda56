#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const duck_right_0 = R"art(
    __          __          __
 __( o<??????__( o>??????__( o>
 \___)       \___)       \___)
)art";

const char* const duck_right_1 = R"art(
    __          __          __
 __( o>??????__( o<??????__( o>
 \___)       \___)       \___)
)art";

const char* const duck_right_2 = R"art(
    __          __          __
 __( o>??????__( o>??????__( o<
 \___)       \___)       \___)
)art";

const char* const duck_right_mask = R"art(
    gg          gg          gg
 wwgWyy      wwgWyy      wwgWyy
 wwwwc       wwwwc       wwwwc
)art";

const char* const duck_left_0 = R"art(
 __          __          __
<o )__??????<o )__??????>o )__ 
 (___/       (___/       (___/
)art";

const char* const duck_left_1 = R"art(
 __          __          __
<o )__??????>o )__??????<o )__ 
 (___/       (___/       (___/
)art";

const char* const duck_left_2 = R"art(
 __          __          __
>o )__??????<o )__??????<o )__ 
 (___/       (___/       (___/
)art";

const char* const duck_left_mask = R"art(
 gg          gg          gg
yyWgww      yyWgww      yyWgww
 cwwww       cwwww       cwwww
)art";

} // namespace

CatalogueEntry duck_entry()
{
    return {"duck",
            {},
            {
                {{duck_right_0, duck_right_mask}, {duck_right_1, duck_right_mask}, {duck_right_2, duck_right_mask}},
                {{duck_left_0, duck_left_mask}, {duck_left_1, duck_left_mask}, {duck_left_2, duck_left_mask}},
            },
            {}};
}

} // namespace gm
