#include "host/glyphmarinae/terminal_host.h"

#include <algorithm>
#include <cerrno>
#include <curses.h>
#include <exception>
#include <iostream>
#include <poll.h>
#include <random>
#include <string>
#include <unistd.h>

#include "host/common/mouse_rule.h"
#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/pacing.h"
#include "host/glyphmarinae/key_map.h"
#include "host/glyphmarinae/notice.h"
#include "host/glyphmarinae/screen.h"
#include "host/glyphmarinae/terminal_signals.h"
#include "host/glyphmarinae/terminfo.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

std::int64_t now_ns() { return monotonic_now_ns(); }

std::uint32_t now_ms() { return static_cast<std::uint32_t>(now_ns() / 1'000'000); }

constexpr std::int64_t notice_ns = 2'000'000'000;

struct Input {
    bool close = false;
    bool resize = false;
    bool pause = false; // pause or resume
    bool new_aquarium = false;

    void add(KeyAction action)
    {
        close = close || action == KeyAction::close;
        pause = pause != (action == KeyAction::pause);
        new_aquarium = new_aquarium || action == KeyAction::new_aquarium;
    }
};

bool is_click(mmask_t state)
{
    constexpr mmask_t presses = BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON2_PRESSED | BUTTON2_CLICKED |
                                BUTTON3_PRESSED | BUTTON3_CLICKED;
    return (state & presses) != 0;
}

// Reads everything waiting; a resize restarts the scene, and the keys do what
// the key map says.
Input read_input(Scene& scene, KeyMap& keys, bool ambient)
{
    Input result;
    for (;;) {
        const int key = getch();
        if (key == ERR) break;
        if (key == KEY_RESIZE) {
            result.resize = true;
            continue;
        }
        if (key == KEY_MOUSE) {
            MEVENT event;
            if (getmouse(&event) != OK || ambient) continue;
            if (is_click(event.bstate) || mouse_move_closes(scene, event.x, event.y, now_ms())) {
                result.close = true;
                return result;
            }
            continue;
        }
        result.add(keys.key(key));
        if (result.close) return result;
    }
    result.add(keys.end_of_input());
    return result;
}

std::uint32_t new_seed(std::uint32_t old)
{
    const std::uint32_t seed = std::random_device{}();
    return seed == old ? seed + 1 : seed;
}

// A new aquarium from `seed` at the screen's size; the mouse rule keeps what
// it has seen.
void restart(Scene& scene, const Screen& screen, std::uint32_t seed)
{
    const MousePosition origin = scene.mouse_origin;
    const std::uint32_t started = scene.start_tick;
    start_scene(scene, screen.columns(), screen.rows(), seed);
    scene.mouse_origin = origin;
    scene.start_tick = started;
}

// A new size gets a new aquarium, as a new window would, from the same seed:
// so the screen after a resize is the scene that a dump of that size shows
// for the ticks since. Anything else that looks like a resize changes nothing.
bool follow_size(Scene& scene, Screen& screen, std::uint32_t seed)
{
    if (screen.columns() == scene.columns && screen.rows() == scene.rows) return false;
    restart(scene, screen, seed);
    return true;
}

int run(const Options& options, Screen& screen)
{
    Scene scene;
    std::uint32_t seed = options.seed.value_or(default_seed());
    start_scene(scene, screen.columns(), screen.rows(), seed);
    scene.start_tick = now_ms();
    Notice notice;
    const auto show = [&] {
        compose(scene);
        if (notice.shown(now_ns())) draw_notice(scene.grid, notice.text);
        screen.draw(scene.grid);
    };
    show();

    KeyMap keys(options.ambient);
    bool paused = false;

    Pacer pacer;
    pacer.period_ns = 1'000'000'000 / options.fps;
    pacer.start(now_ns());
    while (ending_signal() == 0) {
        bool size_may_change = false;
        if (take_suspend_request()) {
            suspend_self([&] { screen.suspend(); });
            screen.resume();
            size_may_change = true;
        }
        const std::int64_t before = now_ns();
        // Paused, nothing is due but the notice's end, so the wait may be endless.
        std::int64_t wait_ms = paused ? -1 : pacer.wait_ms(before);
        if (notice.shown(before)) {
            const std::int64_t notice_ms = (notice.until_ns - before + 999'999) / 1'000'000;
            wait_ms = wait_ms < 0 ? notice_ms : std::min(wait_ms, notice_ms);
        }
        pollfd input = {STDIN_FILENO, POLLIN, 0};
        const int ready = poll_for_input(input, static_cast<int>(wait_ms));
        if (ready < 0 && errno != EINTR) return 1;
        if (ending_signal() != 0) break;
        if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL))) return 0;
        if (ready != 0) {
            // A resize arrives as a signal: ncurses turns it into KEY_RESIZE here.
            const Input got = read_input(scene, keys, options.ambient);
            if (got.close) return 0;
            if (got.resize) {
                screen.repaint_all();
                size_may_change = true;
            }
            if (got.new_aquarium) {
                seed = new_seed(seed);
                notice = {"new aquarium: seed " + std::to_string(seed), now_ns() + notice_ns};
                restart(scene, screen, seed);
                show();
                pacer.start(now_ns());
            }
            if (got.pause) {
                paused = !paused;
                pacer.start(now_ns());
            }
        }
        if (size_may_change && follow_size(scene, screen, seed)) {
            show();
            pacer.start(now_ns());
            continue;
        }
        const std::int64_t now = now_ns();
        if (!notice.text.empty() && !notice.shown(now)) {
            notice.text.clear();
            if (paused) show();
        }
        if (paused || !pacer.due(now)) continue;
        tick(scene);
        show();
        pacer.advance(now);
    }
    return 0;
}

} // namespace

int run_terminal(const Options& options)
{
    if (isatty(STDOUT_FILENO) != 1 || isatty(STDIN_FILENO) != 1) {
        std::cerr << "glyphmarinae: the aquarium needs a terminal; use --dump to print a scene instead\n";
        return 2;
    }
    if (const std::string refusal = terminal_refusal(STDOUT_FILENO); !refusal.empty()) {
        std::cerr << "glyphmarinae: " << refusal << "\n";
        return 2;
    }
    catch_signals();
    int status = 0;
    try {
        Screen screen(options.terminal_background);
        status = run(options, screen);
    } catch (const std::exception& error) {
        // The screen is already restored by its destructor.
        std::cerr << "glyphmarinae: " << error.what() << "\n";
        status = 1;
    }
    // With the terminal restored, the signal that stopped the run ends the
    // process as it would have without us, so a shell sees an interrupted run.
    release_signals();
    if (const int signal = ending_signal()) end_by(signal);
    return status;
}

} // namespace gm
