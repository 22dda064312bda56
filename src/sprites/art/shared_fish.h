#pragma once

namespace gm {

// The little round fish swims in both fish entries, with a mask of its own in each.
inline constexpr const char* small_round_right = R"art(
  __
|/  \
|   o>
|\__/
  `'
)art";
inline constexpr const char* small_round_left = R"art(
  __
 /  \|
<o   |
 \__/|
  `'
)art";

} // namespace gm
