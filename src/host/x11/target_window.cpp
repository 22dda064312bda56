#include "host/x11/target_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace gm {

Window virtual_root(Display* display)
{
    const Window root = DefaultRootWindow(display);
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    Window root_back = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = root;
    if (!XQueryTree(display, root, &root_back, &parent, &children, &count)) return root;
    for (unsigned int i = 0; i < count && found == root; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items, &after,
                               &data) == Success &&
            type == XA_WINDOW && format == 32 && items == 1 && data) {
            found = *reinterpret_cast<Window*>(data);
        }
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

TargetChoice choose_target(Display* display, const X11Options& options, const char* screensaver_window)
{
    if (options.window_id) return {*options.window_id, {}};
    if (screensaver_window && *screensaver_window) {
        const std::optional<std::uint32_t> id = parse_window_id(screensaver_window);
        if (!id) return {None, "XSCREENSAVER_WINDOW is not a window id: '" + std::string(screensaver_window) + "'"};
        return {*id, {}};
    }
    if (options.root) return {virtual_root(display), {}};
    return {};
}

} // namespace gm
