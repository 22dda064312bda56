#include "sprites/small_art.h"

namespace gm {

std::string_view fishhook_picture()
{
    return R"art(
       o
      ||
      ||
\ /???||
 \    //
  `--'/
)art";
}

} // namespace gm
