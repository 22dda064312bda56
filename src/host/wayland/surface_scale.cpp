#include "host/wayland/surface_scale.h"

#include <cstring>

#include "host/wayland/registry.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"

namespace gm {

namespace {

void on_preferred_scale(void* data, wp_fractional_scale_v1*, std::uint32_t scale)
{
    // A scale below 1/120 would leave a buffer of no pixels.
    if (scale > 0) static_cast<View*>(data)->preferred_scale = static_cast<std::int32_t>(scale);
}
const wp_fractional_scale_v1_listener fractional_listener = {.preferred_scale = on_preferred_scale};

// Halfway away from zero, as the protocol rounds a toplevel's size.
std::int32_t scaled(std::int32_t length, std::int32_t scale_120)
{
    return static_cast<std::int32_t>((static_cast<std::int64_t>(length) * scale_120 + 60) / 120);
}

} // namespace

bool bind_scale_global(ModuleState& state, wl_registry* registry, std::uint32_t name, const char* interface)
{
    if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0 && !state.fractional_scale) {
        state.fractional_scale =
            bind<wp_fractional_scale_manager_v1>(registry, name, wp_fractional_scale_manager_v1_interface);
        return true;
    }
    if (std::strcmp(interface, wp_viewporter_interface.name) == 0 && !state.viewporter) {
        state.viewporter = bind<wp_viewporter>(registry, name, wp_viewporter_interface);
        return true;
    }
    return false;
}

void watch_surface_scale(ModuleState& state, View& view)
{
    if (!state.fractional_scale || !state.viewporter) return;
    view.viewport = wp_viewporter_get_viewport(state.viewporter, view.surface);
    view.fractional_scale = wp_fractional_scale_manager_v1_get_fractional_scale(state.fractional_scale, view.surface);
    wp_fractional_scale_v1_add_listener(view.fractional_scale, &fractional_listener, &view);
}

PixelSize apply_surface_scale(View& view)
{
    const std::int32_t scale_120 = view.scale_120();
    if (!view.viewport || scale_120 % 120 == 0) {
        // A whole scale needs no viewport: an earlier destination is unset.
        if (view.viewport) wp_viewport_set_destination(view.viewport, -1, -1);
        wl_surface_set_buffer_scale(view.surface, scale_120 / 120);
        return {view.width * scale_120 / 120, view.height * scale_120 / 120};
    }
    wl_surface_set_buffer_scale(view.surface, 1);
    wp_viewport_set_destination(view.viewport, view.width, view.height);
    return {scaled(view.width, scale_120), scaled(view.height, scale_120)};
}

void release_surface_scale(View& view)
{
    if (view.fractional_scale) wp_fractional_scale_v1_destroy(view.fractional_scale);
    if (view.viewport) wp_viewport_destroy(view.viewport);
    view.fractional_scale = nullptr;
    view.viewport = nullptr;
}

void release_scale_globals(ModuleState& state)
{
    if (state.fractional_scale) wp_fractional_scale_manager_v1_destroy(state.fractional_scale);
    if (state.viewporter) wp_viewporter_destroy(state.viewporter);
    state.fractional_scale = nullptr;
    state.viewporter = nullptr;
}

} // namespace gm
