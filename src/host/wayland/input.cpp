#include "host/wayland/input.h"

#include <algorithm>
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

void on_pointer_enter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                      wl_fixed_t y)
{
    auto& state = *static_cast<ModuleState*>(data);
    state.pointer_view = view_of(state, surface);
    state.pointer_serial = serial;
    hide_pointer(state);
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
    // Left and right clicks end the run; the middle button and the wheel do
    // not, nor a click on a window's decorations, which are not its views.
    auto& state = *static_cast<ModuleState*>(data);
    if (state.pointer_view && pressed == WL_POINTER_BUTTON_STATE_PRESSED && (button == BTN_LEFT || button == BTN_RIGHT))
        end_run(state, RunEnd::user);
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

// The keyboard leaving one of the screensaver's surfaces is either a move to
// another of them or another client taking it, a locker above all, which
// must not stay hidden under the aquarium. sway hands a locker's keyboard
// straight back to the overlay it left, and does the same on its own while
// one of the overlays is still being mapped (an output plugged in): only
// then is coming back to the same view no locker's mark. The compositor
// sends such a leave and its enter together: the answer to a sync asked
// after the leave comes after both.
void on_focus_checked(void* data, wl_callback* callback, std::uint32_t)
{
    auto& state = *static_cast<ModuleState*>(data);
    wl_callback_destroy(callback);
    state.focus_check = nullptr;
    const View* now = state.keyboard_view;
    const bool mapping = std::ranges::any_of(state.views, [](const auto& view) { return !view->shown; });
    // A keyboard unplugged leaves too, and takes the seat's keyboard with it.
    const bool unplugged = !state.keyboard;
    // Nor is a view dropped since, its output gone.
    const bool dropped = !state.keyboard_left;
    if (!unplugged && !dropped && (!now || (now == state.keyboard_left && !mapping))) end_run(state, RunEnd::user);
    state.keyboard_left = nullptr;
}
const wl_callback_listener focus_check_listener = {.done = on_focus_checked};

void on_keyboard_enter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*)
{
    auto& state = *static_cast<ModuleState*>(data);
    state.keyboard_view = view_of(state, surface);
}
void on_keyboard_leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*)
{
    auto& state = *static_cast<ModuleState*>(data);
    View* left = state.keyboard_view;
    state.keyboard_view = nullptr;
    // A view already dropped, its output gone, was not taken from.
    if (!left || state.options.place != WaylandPlace::screensaver || state.focus_check) return;
    state.keyboard_left = left;
    state.focus_check = wl_display_sync(state.display);
    wl_callback_add_listener(state.focus_check, &focus_check_listener, &state);
}

void on_key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t pressed)
{
    if (pressed == WL_KEYBOARD_KEY_STATE_PRESSED) end_run(*static_cast<ModuleState*>(data), RunEnd::user);
}
const wl_keyboard_listener keyboard_listener = {
    .keymap = [](void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); },
    .enter = on_keyboard_enter,
    .leave = on_keyboard_leave,
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

void hide_pointer(ModuleState& state)
{
    if (state.pointer && state.pointer_view && state.options.place != WaylandPlace::window)
        wl_pointer_set_cursor(state.pointer, state.pointer_serial, nullptr, 0, 0);
}

void release_input(ModuleState& state)
{
    if (state.focus_check) wl_callback_destroy(state.focus_check);
    state.focus_check = nullptr;
    if (state.pointer) release(state.pointer);
    if (state.keyboard) release(state.keyboard);
    if (state.seat) wl_seat_destroy(state.seat);
    state.seat = nullptr;
}

} // namespace gm
