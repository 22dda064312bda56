#pragma once
#include <string>
#include <string_view>

namespace gm {

// `text` as a JSON string literal, quotes included; control characters such
// as the escape character become \u00XX.
std::string json_string(std::string_view text);

} // namespace gm
