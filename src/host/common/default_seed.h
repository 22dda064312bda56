#pragma once
#include <cstdint>
#include <ctime>

namespace gm {

// The seed of a run given none: the calendar time in seconds, as the design
// seeds its generator at window creation.
inline std::uint32_t default_seed() { return static_cast<std::uint32_t>(std::time(nullptr)); }

} // namespace gm
