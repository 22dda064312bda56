#include "host/glyphmarinae/key_map.h"

namespace gm {

namespace {

constexpr int escape = 27;
constexpr int control_c = 3; // when the terminal passes it on instead of raising SIGINT

} // namespace

KeyAction KeyMap::key(int key)
{
    if (!ambient_) return KeyAction::close;
    if (escape_pending_) {
        escape_pending_ = false;
        in_sequence_ = true;
    }
    if (in_sequence_) return KeyAction::none;
    switch (key) {
    case escape: escape_pending_ = true; return KeyAction::none;
    case control_c:
    case 'q':
    case 'Q': return KeyAction::close;
    case ' ': return KeyAction::pause;
    case 'n': return KeyAction::new_aquarium;
    default: return KeyAction::none;
    }
}

KeyAction KeyMap::end_of_input()
{
    const bool lone_escape = escape_pending_;
    escape_pending_ = false;
    in_sequence_ = false;
    return lone_escape ? KeyAction::close : KeyAction::none;
}

} // namespace gm
