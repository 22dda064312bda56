#include "host/wayland/decorated_window.h"

#include <libdecor.h>

#include "host/wayland/view.h"

namespace gm {

namespace {

// libdecor's error callback carries no context of its own; one run has one.
ModuleState* decorations_owner = nullptr;

void on_decorations_error(libdecor*, libdecor_error, const char* message)
{
    if (decorations_owner) fail_run(*decorations_owner, std::string("window decorations: ") + message);
}
// libdecor's records end in reserved members, left null.
libdecor_interface decorations_interface = [] {
    libdecor_interface callbacks{};
    callbacks.error = on_decorations_error;
    return callbacks;
}();

// The content size libdecor reads from the compositor's configure, none
// when the size is the client's choice; the frame takes the size chosen.
void on_frame_configure(libdecor_frame* frame, libdecor_configuration* configuration, void* data)
{
    auto& view = *static_cast<View*>(data);
    int width = 0;
    int height = 0;
    if (!libdecor_configuration_get_content_size(configuration, frame, &width, &height)) width = height = 0;
    take_window_size(view, width, height);
    libdecor_state* content = libdecor_state_new(view.width, view.height);
    libdecor_frame_commit(frame, content, configuration);
    libdecor_state_free(content);
}
void on_frame_close(libdecor_frame*, void* data) { end_run(*static_cast<View*>(data)->owner, RunEnd::host); }
// The decorations are subsurfaces that show with the window's next commit.
void on_frame_commit(libdecor_frame*, void* data) { wl_surface_commit(static_cast<View*>(data)->surface); }
libdecor_frame_interface frame_interface = [] {
    libdecor_frame_interface callbacks{};
    callbacks.configure = on_frame_configure;
    callbacks.close = on_frame_close;
    callbacks.commit = on_frame_commit;
    callbacks.dismiss_popup = [](libdecor_frame*, const char*, void*) {};
    return callbacks;
}();

} // namespace

void open_decorations(ModuleState& state)
{
    if (state.decorations || state.decoration_manager) return;
    decorations_owner = &state;
    state.decorations = libdecor_new(state.display, &decorations_interface);
    // libdecor meets the compositor's globals by itself; a frame decorated
    // before that has no toplevel to make fullscreen.
    if (!state.decorations || wl_display_roundtrip(state.display) < 0)
        fail_run(state, "libdecor cannot decorate windows on this compositor");
}

void make_decorated_window(ModuleState& state, View& view)
{
    view.decorated = libdecor_decorate(state.decorations, view.surface, &frame_interface, &view);
    libdecor_frame_set_title(view.decorated, window_title);
    libdecor_frame_set_app_id(view.decorated, window_app_id);
    if (view.output) libdecor_frame_set_fullscreen(view.decorated, view.output->output);
    libdecor_frame_map(view.decorated);
}

void free_decorated_window(View& view)
{
    if (view.decorated) libdecor_frame_unref(view.decorated);
    view.decorated = nullptr;
}

void dispatch_decorations(ModuleState& state)
{
    if (state.decorations && libdecor_dispatch(state.decorations, 0) < 0) end_run(state, RunEnd::failed);
}

void release_decorations(ModuleState& state)
{
    if (state.decorations) libdecor_unref(state.decorations);
    state.decorations = nullptr;
    decorations_owner = nullptr;
}

} // namespace gm
