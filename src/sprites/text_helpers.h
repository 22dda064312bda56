#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sprites/sprite_frame.h"

namespace gm {

SpriteFrame seaweed_strand(std::int32_t height, bool phase);
std::string strip_leading_newline(std::string_view text);
std::string join_rows(const std::vector<std::string>& rows, std::int32_t first, std::int32_t count);
// Aligns a picture to the bottom of an n-row band.
std::vector<std::string> fit_rows(std::vector<std::string> rows, std::int32_t n);

} // namespace gm
