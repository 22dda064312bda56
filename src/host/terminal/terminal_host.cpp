#include "host/terminal/terminal_host.h"

#include <cerrno>
#include <ctime>
#include <curses.h>
#include <exception>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "engine/mouse_rule.h"
#include "engine/tick.h"
#include "host/shared/pacing.h"
#include "host/terminal/screen.h"
#include "host/terminal/terminal_signals.h"
#include "host/terminal/terminfo.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

std::int64_t now_ns() { return monotonic_now_ns(); }

std::uint32_t now_ms() { return static_cast<std::uint32_t>(now_ns() / 1'000'000); }

enum class Input { none, resize, close };

bool is_click(mmask_t state)
{
    constexpr mmask_t presses = BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON2_PRESSED | BUTTON2_CLICKED |
                                BUTTON3_PRESSED | BUTTON3_CLICKED;
    return (state & presses) != 0;
}

// Reads everything waiting; any key closes, a resize restarts the scene.
Input read_input(Scene& scene)
{
    Input result = Input::none;
    for (;;) {
        const int key = getch();
        if (key == ERR) return result;
        if (key == KEY_RESIZE) {
            result = Input::resize;
            continue;
        }
        if (key == KEY_MOUSE) {
            MEVENT event;
            if (getmouse(&event) != OK) continue;
            if (is_click(event.bstate)) return Input::close;
            if (mouse_move_closes(scene, event.x, event.y, now_ms())) return Input::close;
            continue;
        }
        return Input::close;
    }
}

// A new size gets a new aquarium, as a new window would, from the same seed:
// so the screen after a resize is the scene that a dump of that size shows
// for the ticks since. Anything else that looks like a resize changes nothing.
bool follow_size(Scene& scene, Screen& screen, std::uint32_t seed)
{
    if (screen.columns() == scene.columns && screen.rows() == scene.rows) return false;
    const MousePosition origin = scene.mouse_origin;
    const std::uint32_t started = scene.start_tick;
    start_scene(scene, screen.columns(), screen.rows(), seed);
    scene.mouse_origin = origin;
    scene.start_tick = started;
    return true;
}

int run(const Options& options, Screen& screen)
{
    static Scene scene;
    const std::uint32_t seed = options.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
    start_scene(scene, screen.columns(), screen.rows(), seed);
    scene.start_tick = now_ms();
    compose(scene);
    screen.draw(scene.grid);

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
        pollfd input = {STDIN_FILENO, POLLIN, 0};
        const int ready = poll_for_input(input, static_cast<int>(pacer.wait_ms(now_ns())));
        if (ready < 0 && errno != EINTR) return 1;
        if (ending_signal() != 0) break;
        if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL))) return 0;
        if (ready != 0) {
            // A resize arrives as a signal: ncurses turns it into KEY_RESIZE here.
            const Input got = read_input(scene);
            if (got == Input::close) return 0;
            if (got == Input::resize) {
                screen.repaint_all();
                size_may_change = true;
            }
        }
        if (size_may_change && follow_size(scene, screen, seed)) {
            compose(scene);
            screen.draw(scene.grid);
            pacer.start(now_ns());
            continue;
        }
        const std::int64_t now = now_ns();
        if (!pacer.due(now)) continue;
        tick(scene);
        compose(scene);
        screen.draw(scene.grid);
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
