#pragma once
#include <cstdint>
#include <poll.h>

struct sd_bus;
struct sd_bus_slot;

namespace gm {

// Mutter's idle monitor on the session bus, for GNOME, whose compositor
// offers no Wayland idle protocol. The bus is one more descriptor of the
// program's poll: sd-bus brings no thread of its own.
struct GnomeIdle {
    sd_bus* bus = nullptr;
    sd_bus_slot* fired_match = nullptr;
    std::uint32_t idle_watch = 0;   // Mutter's id for it; 0 for none
    std::uint32_t active_watch = 0; // asked for while the aquarium shows
    bool went_idle = false;         // the idle watch fired since the last look
    bool came_back = false;         // the user-active watch fired since the last look
};

// Whether Mutter answered on the session bus with a watch for `seconds`
// of idleness; without one nothing stays open.
bool open_gnome_idle(GnomeIdle& idle, int seconds);
// Whether GNOME Shell's screen shield is up; without a shell none is.
bool gnome_shield_up(GnomeIdle& idle);
// Mutter fires a user-active watch once, at the first input after it was
// asked for, and forgets it then; a showing ended otherwise removes it.
void watch_user_active(GnomeIdle& idle);
void forget_user_active(GnomeIdle& idle);
// What the loop's poll waits for on the bus (fd -1 without one), and its
// wait shortened to the bus's own deadline.
pollfd gnome_idle_descriptor(const GnomeIdle& idle, std::int64_t& wait_ms);
// Handles what the bus has for it; false when the bus went away.
bool gnome_idle_process(GnomeIdle& idle);
void close_gnome_idle(GnomeIdle& idle);

} // namespace gm
