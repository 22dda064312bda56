#include "record/progress_bar.h"

#include <algorithm>
#include <cmath>
#include <sys/ioctl.h>
#include <unistd.h>

namespace gm {

namespace {

std::string duration_text(double seconds)
{
    const auto whole = static_cast<std::int64_t>(std::ceil(std::max(seconds, 0.0)));
    if (whole < 60) return std::to_string(whole) + " s";
    const std::int64_t rest = whole % 60;
    return std::to_string(whole / 60) + " min " + (rest < 10 ? "0" : "") + std::to_string(rest) + " s";
}

int terminal_width()
{
    winsize size = {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

void put(const std::string& text)
{
    // A failed write to the terminal only loses the progress line.
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

// Estimates need a few frames behind them before they mean anything.
constexpr auto settle_time = std::chrono::milliseconds(150);
constexpr auto redraw_interval = std::chrono::milliseconds(100);

} // namespace

std::string progress_line(std::int64_t done, std::int64_t total, double seconds_left, int width)
{
    total = std::max<std::int64_t>(total, 1);
    done = std::clamp<std::int64_t>(done, 0, total);
    const int percent = static_cast<int>(done * 100 / total);
    std::string counts = std::to_string(done);
    counts.append("/").append(std::to_string(total)).append(" frames ").append(std::to_string(percent)).append("% ");
    counts.append(duration_text(seconds_left)).append(" left");
    // The last column stays free: writing it makes some terminals wrap.
    const int room = width - 1 - static_cast<int>(counts.size()) - 3;
    if (room < 5) return counts.substr(0, static_cast<std::size_t>(std::max(width - 1, 0)));
    const int bar = std::min(room, 40);
    const auto filled = static_cast<std::size_t>(done * bar / total);
    std::string line(1, '[');
    line.append(filled, '#').append(static_cast<std::size_t>(bar) - filled, '.').append("] ").append(counts);
    return line;
}

ProgressBar::ProgressBar(std::int64_t total)
    : total_(total), terminal_(isatty(STDERR_FILENO) == 1), start_(Clock::now()), last_draw_(start_)
{
}

void ProgressBar::update(std::int64_t done)
{
    if (!terminal_ || done <= 0 || done >= total_) return;
    const Clock::time_point now = Clock::now();
    const std::chrono::duration<double> elapsed = now - start_;
    if (elapsed < settle_time || (shown_ && now - last_draw_ < redraw_interval)) return;
    const double per_frame = elapsed.count() / static_cast<double>(done);
    if (!shown_ && per_frame * static_cast<double>(total_) <= 1.0) return;
    shown_ = true;
    last_draw_ = now;
    std::string line(1, '\r');
    line += progress_line(done, total_, per_frame * static_cast<double>(total_ - done), terminal_width());
    put(line.append("\x1b[K"));
}

void ProgressBar::erase()
{
    if (shown_) put("\r\x1b[K");
    shown_ = false;
}

} // namespace gm
