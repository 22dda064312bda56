#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const dolphin_right_0 = R"art(
      |\
\  _.-' `-._
 >=       o `=
/  `-.___\_.-'
)art";
const char* const dolphin_right_1 = R"art(
      |\
   _.-' `-._
_>=       o `=
/ `-.___/__.-'
)art";
const char* const dolphin_right_mask = R"art(


          W
)art";

const char* const dolphin_left_0 = R"art(
      /|
  _.-' `-._  /
=' o       =<
`-._/___.-'  \
)art";
const char* const dolphin_left_1 = R"art(
      /|
  _.-' `-._
=' o       =<_
`-.__\___.-' \
)art";
const char* const dolphin_left_mask = R"art(


   W
)art";

} // namespace

CatalogueEntry dolphin_entry()
{
    // Only the eye is fixed; the school's creator gives each dolphin its colour.
    return {"dolphin",
            {},
            {
                {{dolphin_right_0, dolphin_right_mask}, {dolphin_right_1, dolphin_right_mask}},
                {{dolphin_left_0, dolphin_left_mask}, {dolphin_left_1, dolphin_left_mask}},
            },
            {}};
}

} // namespace gm
