#pragma once
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gm {

// The values that every program reads alike, refused with the same
// words in each, so that a user who knows one program knows them all.

// The whole text must be the number: "12a", "" and "+3" are not numbers.
template <typename Number>
bool parse_number(std::string_view text, Number& value)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

inline constexpr int min_fps = 1;
inline constexpr int max_fps = 60;

// Each returns the one-line complaint, or "" when the value was taken.
inline std::string read_fps(std::string_view text, int& fps)
{
    int value = 0;
    if (!parse_number(text, value) || value < min_fps || value > max_fps)
        return "--fps wants a whole number from " + std::to_string(min_fps) + " to " + std::to_string(max_fps) +
               ", not '" + std::string(text) + "'";
    fps = value;
    return {};
}

inline std::string read_seed(std::string_view text, std::optional<std::uint32_t>& seed)
{
    std::uint32_t value = 0;
    if (!parse_number(text, value))
        return "--seed wants a whole number from 0 to 4294967295, not '" + std::string(text) + "'";
    seed = value;
    return {};
}

inline constexpr int min_font_size = 4;
inline constexpr int max_font_size = 512;

inline std::string read_font_size(std::string_view text, std::optional<int>& font_size)
{
    int value = 0;
    if (!parse_number(text, value) || value < min_font_size || value > max_font_size)
        return "--font-size wants pixels from " + std::to_string(min_font_size) + " to " +
               std::to_string(max_font_size) + ", not '" + std::string(text) + "'";
    font_size = value;
    return {};
}

} // namespace gm
