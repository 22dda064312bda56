#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace gm {

struct ViewSize {
    std::int32_t columns = 80;
    std::int32_t rows = 24;
    bool operator==(const ViewSize&) const = default;
};

inline constexpr std::int32_t max_view_side = 1000;

// The window size of a NAWS subnegotiation's payload (the telnet library has
// already undoubled any 255), or none when it is not the four bytes it must
// be. Each side is clamped to 1..1000; 0 means the client does not know,
// which is taken as 80 columns or 24 rows.
std::optional<ViewSize> naws_size(std::span<const unsigned char> payload);

} // namespace gm
