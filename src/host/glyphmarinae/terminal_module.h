#pragma once
#include <cstdint>
#include <memory>

#include "engine/scene.h"
#include "host/common/host_contract.h"
#include "host/common/pacing.h"
#include "host/glyphmarinae/key_map.h"
#include "host/glyphmarinae/notice.h"
#include "host/glyphmarinae/options.h"
#include "host/glyphmarinae/screen.h"

namespace gm {

// The aquarium in a terminal, in the hosts' shape
// (host/common/host_contract.h).
struct TerminalState {
    explicit TerminalState(const Options& options);

    Screen screen;
    Scene scene;
    Pacer pacer;
    KeyMap keys;
    Notice notice;
    bool paused = false;
    std::uint32_t seed;
};

// Takes the terminal and shows the first frame; says why when ncurses cannot.
Started<TerminalState> terminal_init(const Options& options);
// Ticks when a frame is due and shows it; the milliseconds until something
// is due again, -1 for nothing at all (paused, no notice to take down).
std::int64_t terminal_draw(TerminalState& state);
// A new size gets a new aquarium from the same seed; anything else that
// looks like a resize changes nothing. A terminal can show any size.
bool terminal_reshape(TerminalState& state);
// Reads what is waiting (keys, the mouse, a resize; none unless
// `input_ready`) and a request to suspend.
EventResult terminal_event(TerminalState& state, bool input_ready);
// Gives the terminal back as it was found.
void terminal_free(std::unique_ptr<TerminalState> state);

} // namespace gm
