#pragma once
#include "host/wayland/module.h"

namespace gm {

// A view for `output`, or the window of --window when there is none, asked
// of the compositor with a first commit; it draws once configured.
void add_view(ModuleState& state, Output* output);
void drop_closed_views(ModuleState& state);
void drop_views_of(ModuleState& state, const Output& output);
void drop_all_views(ModuleState& state);
View* view_of(ModuleState& state, wl_surface* surface);

inline constexpr const char* window_title = "Glyphmarinae";
inline constexpr const char* window_app_id = "glyphmarinae"; // the menu entry's name
// The window's size from a configure: zero leaves it to the program.
void take_window_size(View& view, std::int32_t width, std::int32_t height);

// Paints what changed into a free buffer and commits it with a frame
// callback; without a free buffer, it waits for the compositor's release.
void show(ModuleState& state, View& view);

} // namespace gm
