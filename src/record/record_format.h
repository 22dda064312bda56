#pragma once
#include <optional>
#include <string_view>

namespace gm {

enum class RecordFormat { cast, gif, png };

// The format a file name asks for by its extension, in any letter case;
// none for any other name.
std::optional<RecordFormat> record_format_of(std::string_view file);

} // namespace gm
