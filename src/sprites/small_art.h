#pragma once
#include <array>
#include <string_view>

namespace gm {

// Pictures that are not catalogue entries: their creators build frames from
// the text alone, with no mask.

// 7 rows by 8 columns: an empty first row, the eye in column 7 of row 1, the
// shank in columns 6-7, the barb at the left of row 4 with '?' in columns 3-5.
std::string_view fishhook_picture();

// Four growing spatters: 5x5 (two empty top rows), 4x6 (one empty top row),
// 4x7 and 5x9 (rows x columns).
const std::array<std::string_view, 4>& splat_pictures();

} // namespace gm
