#include "host/glyphmarinae/terminal_module.h"

#include <algorithm>
#include <curses.h>
#include <exception>
#include <random>
#include <string>

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/common/mouse_rule.h"
#include "host/glyphmarinae/palette.h"
#include "host/glyphmarinae/terminal_signals.h"
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
Input read_input(Scene& scene, KeyMap& keys)
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
            if (getmouse(&event) != OK) continue;
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

// A still aquarium says why, and with the seed that makes it again.
void show(TerminalState& state)
{
    compose(state.scene);
    if (state.notice.shown(now_ns())) draw_notice(state.scene.grid, state.notice.text);
    else if (state.paused) draw_notice(state.scene.grid, "paused: seed " + std::to_string(state.seed));
    state.screen.draw(state.scene.grid);
}

// A new aquarium from the state's seed at the screen's size, shown at once;
// the mouse rule keeps what it has seen.
void restart(TerminalState& state)
{
    Scene& scene = state.scene;
    const MousePosition origin = scene.mouse_origin;
    const std::uint32_t started = scene.start_tick;
    start_scene(scene, state.screen.columns(), state.screen.rows(), state.seed);
    scene.mouse_origin = origin;
    scene.start_tick = started;
    show(state);
    state.pacer.start(now_ns());
}

void new_aquarium(TerminalState& state)
{
    state.seed = new_seed(state.seed);
    state.notice = {"new aquarium: seed " + std::to_string(state.seed), now_ns() + notice_ns};
    restart(state);
}

std::int64_t wait_ms(const TerminalState& state, std::int64_t now)
{
    // Paused, nothing is due but the notice's end, so the wait may be endless.
    std::int64_t wait = state.paused ? -1 : state.pacer.wait_ms(now);
    if (state.notice.shown(now)) {
        const std::int64_t notice_ms = (state.notice.until_ns - now + 999'999) / 1'000'000;
        wait = wait < 0 ? notice_ms : std::min(wait, notice_ms);
    }
    return wait;
}

} // namespace

TerminalState::TerminalState(const Options& options)
    // Where the mouse cannot end it, the terminal keeps the mouse for selecting text.
    : screen(ScreenWants{options.terminal_background, !options.ambient, !colour_refused(), options.terminal_colours}), keys(options.ambient),
      seed(options.seed.value_or(default_seed()))
{
    pacer.period_ns = 1'000'000'000 / options.fps;
}

Started<TerminalState> terminal_init(const Options& options)
{
    std::unique_ptr<TerminalState> state;
    try {
        state = std::make_unique<TerminalState>(options);
    } catch (const std::exception& error) {
        // The screen gives the terminal back in its destructor on the way out.
        return {nullptr, error.what(), {}};
    }
    start_scene(state->scene, state->screen.columns(), state->screen.rows(), state->seed);
    state->scene.start_tick = now_ms();
    show(*state);
    state->pacer.start(now_ns());
    return {std::move(state), {}, {}};
}

std::int64_t terminal_draw(TerminalState& state)
{
    const std::int64_t now = now_ns();
    if (!state.notice.text.empty() && !state.notice.shown(now)) {
        state.notice.text.clear();
        if (state.paused) show(state);
    }
    if (!state.paused && state.pacer.due(now)) {
        tick(state.scene);
        show(state);
        state.pacer.advance(now);
    }
    return wait_ms(state, now_ns());
}

// As a new window would, so the screen after a resize is the scene that a
// dump of that size shows for the ticks since.
bool terminal_reshape(TerminalState& state)
{
    if (state.screen.columns() != state.scene.columns || state.screen.rows() != state.scene.rows) restart(state);
    return true;
}

EventResult terminal_event(TerminalState& state, bool input_ready)
{
    bool size_may_change = false;
    if (input_ready) {
        // A resize arrives as a signal: ncurses turns it into KEY_RESIZE here.
        const Input got = read_input(state.scene, state.keys);
        if (got.close) {
            state.screen.drop_typeahead_at_end();
            return {true, RunEnd::user};
        }
        if (got.resize) {
            state.screen.repaint_all();
            size_may_change = true;
        }
        if (got.new_aquarium) new_aquarium(state);
        if (got.pause) {
            state.paused = !state.paused;
            show(state);
            state.pacer.start(now_ns());
        }
    }
    if (take_suspend_request()) {
        suspend_self([&] { state.screen.suspend(); });
        state.screen.resume();
        size_may_change = true;
    }
    if (size_may_change) terminal_reshape(state);
    return {true};
}

void terminal_free(std::unique_ptr<TerminalState> state) { state.reset(); }

} // namespace gm
