#include "sprites/text_helpers.h"

#include <algorithm>

namespace gm {

SpriteFrame seaweed_strand(std::int32_t height, bool phase)
{
    std::string text;
    for (std::int32_t i = 1; i <= height; ++i) {
        const bool odd = i % 2 == 1;
        text += (odd != phase) ? "(" : " )";
        text += '\n';
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return SpriteFrame(text, colours::dark_green, false);
}

std::string strip_leading_newline(std::string_view text)
{
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    return std::string(text);
}

std::string join_rows(const std::vector<std::string>& rows, std::int32_t first, std::int32_t count)
{
    const std::int64_t size = static_cast<std::int64_t>(rows.size());
    const std::int64_t start = std::max<std::int64_t>(first, 0);
    const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(first) + count, size);
    std::string text;
    for (std::int64_t i = start; i < end; ++i) {
        text += rows[static_cast<std::size_t>(i)];
        text += '\n';
    }
    return text;
}

std::vector<std::string> fit_rows(std::vector<std::string> rows, std::int32_t n)
{
    const std::size_t target = n > 0 ? static_cast<std::size_t>(n) : 0;
    std::size_t drop = 0;
    while (rows.size() - drop > target && rows[drop].empty()) ++drop;
    if (rows.size() - drop > target) drop = rows.size() - target;
    rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(drop));
    if (rows.size() < target) rows.insert(rows.begin(), target - rows.size(), std::string());
    return rows;
}

} // namespace gm
