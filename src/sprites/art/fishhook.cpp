#include "sprites/small_art.h"

namespace gm {

std::string_view fishhook_picture()
{
    // The '?' cells inside the bend stay part of the hook once its row gaps
    // are closed, so a caught fish is seen hanging in front of solid metal.
    return R"art(
       o
      ||
      ||
/ \???||
\ `--' /
 `----'
)art";
}

} // namespace gm
