#include "host/wayland/gnome_idle.h"

#include <optional>
#include <systemd/sd-bus.h>

#include "host/common/pacing.h"

namespace gm {

namespace {

constexpr const char* monitor_name = "org.gnome.Mutter.IdleMonitor";
constexpr const char* monitor_path = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* shield_name = "org.gnome.ScreenSaver";
constexpr const char* shield_path = "/org/gnome/ScreenSaver";

// Mutter sends WatchFired to the watch's owner alone, so the ids are ours.
int on_watch_fired(sd_bus_message* message, void* data, sd_bus_error*)
{
    auto& idle = *static_cast<GnomeIdle*>(data);
    std::uint32_t id = 0;
    if (sd_bus_message_read(message, "u", &id) < 0 || id == 0) return 0;
    if (id == idle.idle_watch) idle.went_idle = true;
    if (id == idle.active_watch) {
        idle.came_back = true;
        idle.active_watch = 0;
    }
    return 0;
}

// Both services name their interface as they name themselves. A call
// that starts no service for its name: asking whether a shield is
// up must not bring up a screensaver that was not running.
sd_bus_message* new_call(sd_bus* bus, const char* name, const char* path, const char* member)
{
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus, &call, name, path, name, member) < 0) return nullptr;
    sd_bus_message_set_auto_start(call, 0);
    return call;
}

// The reply, or none for an error or no answer; the call is used up.
sd_bus_message* answer(sd_bus* bus, sd_bus_message* call)
{
    sd_bus_message* reply = nullptr;
    if (call && sd_bus_call(bus, call, 0, nullptr, &reply) < 0) reply = nullptr;
    sd_bus_message_unref(call);
    return reply;
}

std::uint32_t add_watch(sd_bus* bus, const char* member, std::optional<std::uint64_t> interval_ms)
{
    sd_bus_message* call = new_call(bus, monitor_name, monitor_path, member);
    if (call && interval_ms && sd_bus_message_append(call, "t", *interval_ms) < 0) call = sd_bus_message_unref(call);
    sd_bus_message* reply = answer(bus, call);
    std::uint32_t id = 0;
    if (!reply || sd_bus_message_read(reply, "u", &id) < 0) id = 0;
    sd_bus_message_unref(reply);
    return id;
}

} // namespace

bool open_gnome_idle(GnomeIdle& idle, int seconds)
{
    if (sd_bus_open_user(&idle.bus) < 0) {
        idle.bus = nullptr;
        return false;
    }
    // Matched before the watch is asked for, so that no firing slips by.
    if (sd_bus_match_signal(idle.bus, &idle.fired_match, nullptr, monitor_path, monitor_name, "WatchFired",
                            on_watch_fired, &idle) >= 0)
        idle.idle_watch = add_watch(idle.bus, "AddIdleWatch", static_cast<std::uint64_t>(seconds) * 1000);
    if (idle.idle_watch) return true;
    close_gnome_idle(idle);
    return false;
}

bool gnome_shield_up(GnomeIdle& idle)
{
    sd_bus_message* reply = answer(idle.bus, new_call(idle.bus, shield_name, shield_path, "GetActive"));
    int active = 0;
    if (!reply || sd_bus_message_read(reply, "b", &active) < 0) active = 0;
    sd_bus_message_unref(reply);
    return active;
}

void watch_user_active(GnomeIdle& idle)
{
    if (idle.bus && !idle.active_watch) idle.active_watch = add_watch(idle.bus, "AddUserActiveWatch", {});
    idle.came_back = false;
}

void forget_user_active(GnomeIdle& idle)
{
    if (!idle.active_watch) return;
    // No answer is waited for: an id that already fired is one Mutter
    // has forgotten, and it says so to nobody.
    sd_bus_message* call = new_call(idle.bus, monitor_name, monitor_path, "RemoveWatch");
    if (call && sd_bus_message_append(call, "u", idle.active_watch) >= 0) sd_bus_send(idle.bus, call, nullptr);
    sd_bus_message_unref(call);
    idle.active_watch = 0;
}

pollfd gnome_idle_descriptor(const GnomeIdle& idle, std::int64_t& wait_ms)
{
    if (!idle.bus) return {-1, 0, 0};
    std::uint64_t deadline_us = 0;
    if (sd_bus_get_timeout(idle.bus, &deadline_us) >= 0 && deadline_us != UINT64_MAX)
        wait_ms = sooner_wait(wait_ms, ms_until(monotonic_now_ns(), static_cast<std::int64_t>(deadline_us) * 1000));
    const int events = sd_bus_get_events(idle.bus);
    return {sd_bus_get_fd(idle.bus), static_cast<short>(events < 0 ? POLLIN : events), 0};
}

bool gnome_idle_process(GnomeIdle& idle)
{
    if (!idle.bus) return true;
    int processed = 0;
    while ((processed = sd_bus_process(idle.bus, nullptr)) > 0) {}
    return processed >= 0;
}

void close_gnome_idle(GnomeIdle& idle)
{
    // Mutter drops a client's watches when it leaves the bus.
    sd_bus_slot_unref(idle.fired_match);
    sd_bus_flush_close_unref(idle.bus);
    idle = GnomeIdle{};
}

} // namespace gm
