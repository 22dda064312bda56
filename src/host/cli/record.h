#pragma once
#include <cstdint>

#include "host/cli/options.h"

namespace gm {

// Ticks recorded after the first frame when --ticks is not given: thirty
// seconds at the default rate.
inline constexpr std::int64_t default_record_ticks = 300;

// Records the options' scene into options.record_file; the exit status.
int run_record(const Options& options);

} // namespace gm
