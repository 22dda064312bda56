#pragma once
#include "host/wayland/module.h"

namespace gm {

// A window whose decorations the program draws itself, through libdecor,
// for compositors that draw none (weston, GNOME's Mutter). libdecor owns the
// window's xdg_surface and toplevel; the view keeps only its frame.
// Before the first window, outside the event handlers: libdecor takes a
// roundtrip to start. Nothing where the compositor decorates windows itself.
void open_decorations(ModuleState& state);
void make_decorated_window(ModuleState& state, View& view);
void free_decorated_window(View& view);
// libdecor's own events, after the connection's: its plugin may read a
// descriptor of its own, and never blocks here.
void dispatch_decorations(ModuleState& state);
void release_decorations(ModuleState& state);

} // namespace gm
