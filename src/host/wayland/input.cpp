#include "host/wayland/input.h"

#include <linux/input-event-codes.h>
#include <unistd.h>

#include "host/common/mouse_rule.h"
#include "host/wayland/view.h"

namespace gm {

namespace {

// Listener records name every event the header lists; those of versions
// newer than the one bound never come and are left null.

void pointer_at(ModuleState& state, wl_fixed_t x, wl_fixed_t y)
{
    View* view = state.pointer_view;
    // A window of its own ends on clicks and keys, not on the mouse passing.
    if (!view || state.options.place == WaylandPlace::window) return;
    if (mouse_move_closes(view->scene, wl_fixed_to_int(x), wl_fixed_to_int(y), now_ms()))
        end_run(state, RunEnd::user);
}

void on_pointer_enter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                      wl_fixed_t y)
{
    auto& state = *static_cast<ModuleState*>(data);
    state.pointer_view = view_of(state, surface);
    if (state.options.place != WaylandPlace::window) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    pointer_at(state, x, y);
}
void on_pointer_leave(void* data, wl_pointer*, std::uint32_t, wl_surface*)
{
    static_cast<ModuleState*>(data)->pointer_view = nullptr;
}
void on_pointer_motion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    pointer_at(*static_cast<ModuleState*>(data), x, y);
}
void on_pointer_button(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
                       std::uint32_t pressed)
{
    // Left and right clicks end the run; the middle button and the wheel do not.
    if (pressed == WL_POINTER_BUTTON_STATE_PRESSED && (button == BTN_LEFT || button == BTN_RIGHT))
        end_run(*static_cast<ModuleState*>(data), RunEnd::user);
}
const wl_pointer_listener pointer_listener = {
    .enter = on_pointer_enter,
    .leave = on_pointer_leave,
    .motion = on_pointer_motion,
    .button = on_pointer_button,
    .axis = [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, std::uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    .axis_value120 = nullptr, // version 8
};

void on_key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t pressed)
{
    if (pressed == WL_KEYBOARD_KEY_STATE_PRESSED) end_run(*static_cast<ModuleState*>(data), RunEnd::user);
}
const wl_keyboard_listener keyboard_listener = {
    .keymap = [](void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); },
    .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
    .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
    .key = on_key,
    .modifiers = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                    std::uint32_t) {},
    .repeat_info = [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

// The release requests came with seat version 3; before that the proxy
// is only forgotten.
template <typename Device>
void release(Device*& device, std::uint32_t since, void (*release_request)(Device*), void (*forget)(Device*))
{
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(device)) >= since)
        release_request(device);
    else
        forget(device);
    device = nullptr;
}
void release(wl_pointer*& pointer)
{
    release(pointer, WL_POINTER_RELEASE_SINCE_VERSION, wl_pointer_release, wl_pointer_destroy);
}
void release(wl_keyboard*& keyboard)
{
    release(keyboard, WL_KEYBOARD_RELEASE_SINCE_VERSION, wl_keyboard_release, wl_keyboard_destroy);
}

void on_seat_capabilities(void* data, wl_seat* seat, std::uint32_t capabilities)
{
    auto& state = *static_cast<ModuleState*>(data);
    const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (pointer && !state.pointer) {
        state.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(state.pointer, &pointer_listener, &state);
    } else if (!pointer && state.pointer) {
        release(state.pointer);
    }
    if (keyboard && !state.keyboard) {
        state.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(state.keyboard, &keyboard_listener, &state);
    } else if (!keyboard && state.keyboard) {
        release(state.keyboard);
    }
}
const wl_seat_listener seat_listener = {
    .capabilities = on_seat_capabilities,
    .name = [](void*, wl_seat*, const char*) {},
};

} // namespace

void watch_seat(ModuleState& state, wl_seat* seat)
{
    state.seat = seat;
    wl_seat_add_listener(seat, &seat_listener, &state);
}

void release_input(ModuleState& state)
{
    if (state.pointer) release(state.pointer);
    if (state.keyboard) release(state.keyboard);
    if (state.seat) wl_seat_destroy(state.seat);
    state.seat = nullptr;
}

} // namespace gm
