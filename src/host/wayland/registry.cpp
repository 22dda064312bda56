#include "host/wayland/registry.h"

#include <algorithm>
#include <cstring>

#include "host/wayland/idle_source.h"
#include "host/wayland/input.h"
#include "host/wayland/surface_scale.h"
#include "host/wayland/view.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace gm {

namespace {

// The newest versions whose requests and events the program knows.
constexpr std::uint32_t compositor_version = 4; // damage_buffer
constexpr std::uint32_t output_version = 4;     // scale, done and name
constexpr std::uint32_t oldest_output_version = 2;
constexpr std::uint32_t layer_shell_version = 4;
constexpr std::uint32_t seat_version = 5;
constexpr std::uint32_t wm_base_version = 1;

// Listener records name every event the header lists; those of versions
// newer than the one bound never come and are left null.

void on_output_scale(void* data, wl_output*, std::int32_t factor)
{
    static_cast<Output*>(data)->scale = std::max(factor, 1);
}
void on_output_name(void* data, wl_output*, const char* name) { static_cast<Output*>(data)->output_name = name; }
// An output plugged in while the program runs gets its view once its name,
// which --output chooses by, has come.
void on_output_done(void* data, wl_output*)
{
    auto& output = *static_cast<Output*>(data);
    ModuleState& state = *output.owner;
    if (state.started && state.options.place != WaylandPlace::window && !output.viewed && wanted(state, output))
        add_view(state, &output);
}
const wl_output_listener output_listener = {
    .geometry = [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                   const char*, const char*, std::int32_t) {},
    .mode = [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
    .done = on_output_done,
    .scale = on_output_scale,
    .name = on_output_name,
    .description = [](void*, wl_output*, const char*) {},
};

const xdg_wm_base_listener wm_base_listener = {
    .ping = [](void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

bool reads_input(const ModuleState& state) { return state.options.place != WaylandPlace::background; }

// wl_output's release request came with version 3.
void release_output(wl_output* output)
{
    if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(output);
    else
        wl_output_destroy(output);
}

void add_output(ModuleState& state, wl_registry* registry, std::uint32_t name, std::uint32_t version)
{
    auto output = std::make_unique<Output>();
    output->owner = &state;
    output->name = name;
    output->output = bind<wl_output>(registry, name, wl_output_interface, version, output_version);
    wl_output_add_listener(output->output, &output_listener, output.get());
    state.outputs.push_back(std::move(output));
}

void on_global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
{
    auto& state = *static_cast<ModuleState*>(data);
    if (bind_idle_global(state, registry, name, interface) || bind_scale_global(state, registry, name, interface))
        return;
    const auto is = [&](const wl_interface& known) { return std::strcmp(interface, known.name) == 0; };
    if (is(wl_compositor_interface) && version >= compositor_version) {
        state.compositor = bind<wl_compositor>(registry, name, wl_compositor_interface, version, compositor_version);
    } else if (is(wl_shm_interface)) {
        state.shm = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        state.layer_shell_version = std::min(version, layer_shell_version);
        state.layer_shell =
            bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, layer_shell_version);
    } else if (is(xdg_wm_base_interface)) {
        state.wm_base = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, wm_base_version);
        xdg_wm_base_add_listener(state.wm_base, &wm_base_listener, &state);
    } else if (is(zxdg_decoration_manager_v1_interface)) {
        state.decoration_manager =
            bind<zxdg_decoration_manager_v1>(registry, name, zxdg_decoration_manager_v1_interface, version, 1);
    } else if (is(wl_seat_interface) && !state.seat && reads_input(state)) {
        watch_seat(state, bind<wl_seat>(registry, name, wl_seat_interface, version, seat_version));
    } else if (is(wl_output_interface) && version >= oldest_output_version) {
        add_output(state, registry, name, version);
    }
}

void on_global_remove(void* data, wl_registry*, std::uint32_t name)
{
    auto& state = *static_cast<ModuleState*>(data);
    auto found = std::find_if(state.outputs.begin(), state.outputs.end(),
                              [&](const std::unique_ptr<Output>& output) { return output->name == name; });
    if (found == state.outputs.end()) return;
    drop_views_of(state, **found);
    release_output((*found)->output);
    state.outputs.erase(found);
}
const wl_registry_listener registry_listener = {
    .global = on_global,
    .global_remove = on_global_remove,
};

} // namespace

void watch_registry(ModuleState& state)
{
    state.registry = wl_display_get_registry(state.display);
    wl_registry_add_listener(state.registry, &registry_listener, &state);
}

void release_globals(ModuleState& state)
{
    for (auto& output : state.outputs) release_output(output->output);
    state.outputs.clear();
    if (state.layer_shell) {
        if (state.layer_shell_version >= 3)
            zwlr_layer_shell_v1_destroy(state.layer_shell);
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(state.layer_shell));
    }
    release_scale_globals(state);
    if (state.decoration_manager) zxdg_decoration_manager_v1_destroy(state.decoration_manager);
    if (state.wm_base) xdg_wm_base_destroy(state.wm_base);
    if (state.shm) wl_shm_destroy(state.shm);
    if (state.compositor) wl_compositor_destroy(state.compositor);
    if (state.registry) wl_registry_destroy(state.registry);
}

} // namespace gm
