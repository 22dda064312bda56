#pragma once
#include <algorithm>

#include "host/wayland/module.h"

namespace gm {

// The global `name` at the older of the version it is advertised at and the
// newest the program knows.
template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t advertised = 1,
            std::uint32_t known = 1)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(advertised, known)));
}

// Binds the globals the program knows as the registry announces them, and
// keeps the outputs: each with its scale, each with a view once started.
void watch_registry(ModuleState& state);
// The globals and the outputs; the views and the input go first.
void release_globals(ModuleState& state);

} // namespace gm
