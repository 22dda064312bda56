#pragma once

namespace gm {

enum class KeyAction { none, close, pause, new_aquarium };

// What the keys of one read of the terminal do. By default every key closes.
// In ambient mode only q or Q, a lone Esc and Ctrl-C close, space pauses or
// resumes and n starts a new aquarium. An Esc with more input right behind it
// is an Alt chord or a key sequence missing from the terminal description,
// not the Esc key, so there it and the rest of that read do nothing.
class KeyMap {
public:
    explicit KeyMap(bool ambient) : ambient_(ambient) {}

    KeyAction key(int key);
    // After the last key of a read.
    KeyAction end_of_input();

private:
    bool ambient_;
    bool escape_pending_ = false;
    bool in_sequence_ = false;
};

} // namespace gm
