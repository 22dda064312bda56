#include "record/record_format.h"

#include <cctype>

namespace gm {

namespace {

// `file` ends in `extension` after at least one character of a name, so that
// "dir/.gif" names no GIF.
bool has_extension(std::string_view file, std::string_view extension)
{
    if (file.size() <= extension.size()) return false;
    const std::size_t stem = file.size() - extension.size();
    if (file[stem - 1] == '/') return false;
    for (std::size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(file[stem + i])) != extension[i]) return false;
    return true;
}

} // namespace

std::optional<RecordFormat> record_format_of(std::string_view file)
{
    if (has_extension(file, ".cast")) return RecordFormat::cast;
    if (has_extension(file, ".gif")) return RecordFormat::gif;
    if (has_extension(file, ".png")) return RecordFormat::png;
    return std::nullopt;
}

} // namespace gm
