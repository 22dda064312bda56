#include "host/wayland/idle_source.h"

#include <cstring>

#include "host/wayland/registry.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

namespace gm {

namespace {

// Only going idle matters: the aquarium's own input rules end a showing,
// so that a mouse moved within the grace period does not.
void went_idle(void* data) { static_cast<ModuleState*>(data)->idle.due = true; }

const ext_idle_notification_v1_listener notification_listener = {
    .idled = [](void* data, ext_idle_notification_v1*) { went_idle(data); },
    .resumed = [](void*, ext_idle_notification_v1*) {},
};
const org_kde_kwin_idle_timeout_listener kde_timeout_listener = {
    .idle = [](void* data, org_kde_kwin_idle_timeout*) { went_idle(data); },
    .resumed = [](void*, org_kde_kwin_idle_timeout*) {},
};

} // namespace

bool bind_idle_global(ModuleState& state, wl_registry* registry, std::uint32_t name, const char* interface)
{
    IdleWatch& idle = state.idle;
    if (!state.options.idle_seconds) return false;
    if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 && !idle.notifier) {
        idle.notifier = bind<ext_idle_notifier_v1>(registry, name, ext_idle_notifier_v1_interface);
        return true;
    }
    if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && !idle.kde_idle) {
        idle.kde_idle = bind<org_kde_kwin_idle>(registry, name, org_kde_kwin_idle_interface);
        return true;
    }
    return false;
}

std::string start_idle_timer(ModuleState& state, int seconds)
{
    IdleWatch& idle = state.idle;
    if (!idle.notifier && !idle.kde_idle) {
        if (open_gnome_idle(idle.gnome, seconds)) return {};
        return "no idle source: the compositor offers neither ext_idle_notifier_v1 nor org_kde_kwin_idle, and the "
               "session bus has no org.gnome.Mutter.IdleMonitor";
    }
    if (!state.seat) return "the compositor offers no seat whose idle time could be watched";
    const auto timeout_ms = static_cast<std::uint32_t>(seconds) * 1000;
    if (idle.notifier) {
        idle.notification = ext_idle_notifier_v1_get_idle_notification(idle.notifier, timeout_ms, state.seat);
        ext_idle_notification_v1_add_listener(idle.notification, &notification_listener, &state);
    } else {
        idle.kde_timeout = org_kde_kwin_idle_get_idle_timeout(idle.kde_idle, state.seat, timeout_ms);
        org_kde_kwin_idle_timeout_add_listener(idle.kde_timeout, &kde_timeout_listener, &state);
    }
    return {};
}

void idle_showing(ModuleState& state) { watch_user_active(state.idle.gnome); }
void idle_hidden(ModuleState& state) { forget_user_active(state.idle.gnome); }

pollfd idle_descriptor(ModuleState& state, std::int64_t& wait_ms)
{
    return gnome_idle_descriptor(state.idle.gnome, wait_ms);
}

// GNOME's own shield is its lock screen: nothing goes over it.
void take_idle_events(ModuleState& state)
{
    GnomeIdle& gnome = state.idle.gnome;
    if (!gnome_idle_process(gnome)) {
        fail_run(state, "the session bus closed the connection to Mutter's idle monitor");
        return;
    }
    if (gnome.went_idle && !state.started && !gnome_shield_up(gnome)) went_idle(&state);
    if (gnome.came_back && state.started) end_run(state, RunEnd::user);
    gnome.went_idle = false;
    gnome.came_back = false;
}

void release_idle_source(ModuleState& state)
{
    IdleWatch& idle = state.idle;
    close_gnome_idle(idle.gnome);
    if (idle.notification) ext_idle_notification_v1_destroy(idle.notification);
    if (idle.kde_timeout) org_kde_kwin_idle_timeout_release(idle.kde_timeout);
    if (idle.notifier) ext_idle_notifier_v1_destroy(idle.notifier);
    // The KDE global has no destructor request: the proxy is only forgotten.
    if (idle.kde_idle) org_kde_kwin_idle_destroy(idle.kde_idle);
    idle.notification = nullptr;
    idle.kde_timeout = nullptr;
    idle.notifier = nullptr;
    idle.kde_idle = nullptr;
}

} // namespace gm
