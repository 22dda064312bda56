#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace gm {

// The one line a long recording keeps up to date on a terminal's standard
// error: frames done, percent, time left, in at most `width` characters.
std::string progress_line(std::int64_t done, std::int64_t total, double seconds_left, int width);

// Shows progress_line only when standard error is a terminal and the work
// looks like it will take more than a second; erase() leaves the line empty.
class ProgressBar {
public:
    explicit ProgressBar(std::int64_t total);
    ~ProgressBar() { erase(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::int64_t done);
    void erase();

private:
    using Clock = std::chrono::steady_clock;
    std::int64_t total_;
    bool terminal_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point last_draw_;
};

} // namespace gm
