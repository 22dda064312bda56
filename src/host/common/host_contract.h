#pragma once
#include <memory>
#include <string>

namespace gm {

// Every host runs the aquarium through the same five entry points over one
// state record, so that a reader who knows one host's module knows them all
// and a loop can be written once:
//
//   init     Started<State> module_init(...)
//            The state, or one line saying why there is none. Nothing is
//            thrown across these entry points: a failure is a message. The
//            Windows window's state belongs to its start-up, which hands it
//            to the window as it is created; init fills it in there and
//            cannot fail.
//   draw     std::int64_t module_draw(State&)
//            Ticks and paints when a frame is due and never waits itself;
//            the milliseconds until the next frame is due, negative when
//            nothing is due at all. The Windows window keeps its fixed
//            100 ms timer, which calls draw at every tick.
//   event    EventResult module_event(State&, the event)
//            One event: whether the module handled it, and whether the run
//            ends, and why.
//   reshape  bool module_reshape(State&, ...)
//            A new size starts a new aquarium with the same seed; false when
//            the aquarium cannot be drawn at it.
//   free     void module_free(State&)
//            Releases what init took, on every way out of the run.

// Why a run ends. The same in every host, whatever its exit status says.
enum class RunEnd {
    running,
    user,   // a key, a click or the pointer in the aquarium, or its losing the foreground
    host,   // who runs the program: a signal, a close request, the owner's exit event or its destroying the window
    failed, // the window system, the terminal or the program itself
};

struct EventResult {
    bool handled = false; // false: the window system's default handling takes the event
    RunEnd end = RunEnd::running;
};

// An event the module took, which ends the run for `why` when `ends`.
constexpr EventResult handled_ending_if(bool ends, RunEnd why) { return {true, ends ? why : RunEnd::running}; }

template <typename State>
struct Started {
    std::unique_ptr<State> state;
    std::string error;  // one line for stderr when there is no state
    std::string notice; // one line for stderr when it runs, but not as asked
};

} // namespace gm
