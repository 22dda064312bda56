#pragma once
#include "host/common/window_scene.h"
#include "host/wayland/module.h"

namespace gm {

// Binds the fractional scale manager and the viewporter as the registry
// announces them; false for any other global.
bool bind_scale_global(ModuleState& state, wl_registry* registry, std::uint32_t name, const char* interface);
// Where the compositor offers both, the view hears its surface's preferred
// scale, in 120ths, and shows buffers of that many pixels through a viewport.
void watch_surface_scale(ModuleState& state, View& view);
// Sets the surface up for the view's scale, fractional or whole, and says
// how many pixels its buffers then have.
PixelSize apply_surface_scale(View& view);
void release_surface_scale(View& view);
void release_scale_globals(ModuleState& state);

} // namespace gm
