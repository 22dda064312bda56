#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace gm {

// Ticks recorded after the first frame when --ticks is not given: thirty
// seconds at the default rate.
inline constexpr std::int64_t default_record_ticks = 300;

// The largest --scale: a 4K picture of a 100x30 aquarium.
inline constexpr int max_scale = 4;

// What to record: the file (its extension picks the format), the scene and
// how long, and how fast it plays back.
struct RecordRequest {
    std::string file;
    std::int32_t columns = 80;
    std::int32_t rows = 24;
    std::int64_t ticks = default_record_ticks;
    std::uint32_t seed = 0;
    int fps = 10;
    int scale = 1; // a .gif or .png: pixels per pixel of the font, 1 to max_scale
    std::optional<std::int64_t> timestamp; // none: the time in seconds
};

// Asked before every frame: 0 to go on, or the number of the signal that
// asked the recording to stop.
using StopRequest = std::function<int()>;

// Records the request's scene into its file; the exit status. A stopped
// recording leaves no file and exits as its signal would have.
int run_record(const RecordRequest& request, const StopRequest& stop_request);

} // namespace gm
