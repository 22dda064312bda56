// GNOME around a bare Mutter: a session manager with InhibitedActions and a
// screen shield up or not (`INHIBITED SHIELD`, until killed), or a user who
// moves the mouse through Mutter's RemoteDesktop (`move`).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <systemd/sd-bus.h>

namespace {

std::uint32_t inhibited = 0;
int shield = 0;

int on_get_active(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, "b", shield); }

const sd_bus_vtable session_manager[] = {
    SD_BUS_VTABLE_START(0), SD_BUS_PROPERTY("InhibitedActions", "u", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END};
const sd_bus_vtable screen_saver[] = {SD_BUS_VTABLE_START(0), SD_BUS_METHOD("GetActive", "", "b", on_get_active, 0),
                                      SD_BUS_VTABLE_END};

int serve(sd_bus* bus)
{
    if (sd_bus_add_object_vtable(bus, nullptr, "/org/gnome/SessionManager", "org.gnome.SessionManager",
                                 session_manager, &inhibited) < 0 ||
        sd_bus_add_object_vtable(bus, nullptr, "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver", screen_saver,
                                 nullptr) < 0 ||
        sd_bus_request_name(bus, "org.gnome.SessionManager", 0) < 0 ||
        sd_bus_request_name(bus, "org.gnome.ScreenSaver", 0) < 0 || std::puts("ready") < 0 || std::fflush(stdout))
        return 1;
    for (int processed = 0; processed >= 0; processed = sd_bus_process(bus, nullptr))
        if (processed == 0) sd_bus_wait(bus, UINT64_MAX);
    return 1;
}

// A remote-desktop session lasts as long as the connection that made it;
// Mutter's log tells why it refused one.
int move(sd_bus* bus)
{
    const char* service = "org.gnome.Mutter.RemoteDesktop";
    const char* session_interface = "org.gnome.Mutter.RemoteDesktop.Session";
    sd_bus_message* made = nullptr;
    const char* session = nullptr;
    const bool moved =
        sd_bus_call_method(bus, service, "/org/gnome/Mutter/RemoteDesktop", service, "CreateSession", nullptr, &made,
                           "") >= 0 &&
        sd_bus_message_read(made, "o", &session) >= 0 &&
        sd_bus_call_method(bus, service, session, session_interface, "Start", nullptr, nullptr, "") >= 0 &&
        sd_bus_call_method(bus, service, session, session_interface, "NotifyPointerMotionRelative", nullptr, nullptr,
                           "dd", 40.0, 30.0) >= 0;
    sd_bus_message_unref(made);
    return moved ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return 1;
    int status = 2;
    if (argc == 2 && std::strcmp(argv[1], "move") == 0) status = move(bus);
    if (argc == 3) {
        inhibited = static_cast<std::uint32_t>(std::atoi(argv[1]));
        shield = std::atoi(argv[2]);
        status = serve(bus);
    }
    sd_bus_flush_close_unref(bus);
    return status;
}
