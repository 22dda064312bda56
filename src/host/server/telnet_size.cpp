#include "host/server/telnet_size.h"

#include <algorithm>

namespace gm {

std::optional<ViewSize> naws_size(std::span<const unsigned char> payload)
{
    if (payload.size() != 4) return std::nullopt;
    auto side = [](unsigned high, unsigned low, std::int32_t unknown) {
        const auto value = static_cast<std::int32_t>(high << 8 | low);
        return value == 0 ? unknown : std::clamp(value, 1, max_view_side);
    };
    return ViewSize{side(payload[0], payload[1], 80), side(payload[2], payload[3], 24)};
}

} // namespace gm
