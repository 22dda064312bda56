#include <windows.h>

#include <string>
#include <string_view>

#include "host/windows/command_line.h"
#include "host/windows/module.h"
#include "host/windows/window_procedure.h"

namespace gm {

namespace {

constexpr DWORD event_synchronise_and_modify = 0x100002;
constexpr DWORD preview_style = 0x50000000;    // child, visible
constexpr DWORD full_screen_style = 0x90000000; // pop-up, visible
constexpr DWORD full_screen_ex_style = 0x8;     // topmost
constexpr UINT class_style = 3;                 // redraw on any size change

HANDLE open_exit_event(const std::string& name)
{
    const int length = MultiByteToWideChar(65001, 0, name.c_str(), -1, nullptr, 0);
    if (length <= 0) return nullptr;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(65001, 0, name.c_str(), -1, wide.data(), length);
    return OpenEventW(event_synchronise_and_modify, FALSE, wide.c_str());
}

struct Placement {
    int x = 0;
    int y = 0;
};

Placement measure_area(ModuleState& state)
{
    Scene& scene = state.scene;
    if (scene.preview) {
        RECT client = {0, 0, 0, 0};
        GetClientRect(state.owner_window, &client);
        scene.client_width = client.right - client.left < 1 ? 1 : client.right - client.left;
        scene.client_height = client.bottom - client.top < 1 ? 1 : client.bottom - client.top;
        return {};
    }
    scene.client_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    scene.client_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const Placement origin = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    if (scene.client_width < 1) scene.client_width = GetSystemMetrics(SM_CXSCREEN);
    if (scene.client_height < 1) scene.client_height = GetSystemMetrics(SM_CYSCREEN);
    return origin;
}

int show_settings(const HostCommand& command)
{
    HWND parent = reinterpret_cast<HWND>(static_cast<UINT_PTR>(command.owner));
    if (parent && !IsWindow(parent)) parent = nullptr;
    MessageBoxA(parent, "The aquarium has no settings.", "Glyphmarinae", MB_OK | MB_ICONINFORMATION);
    return 0;
}

void register_window_class(HINSTANCE instance)
{
    WNDCLASSA window_class = {};
    window_class.style = class_style;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = "GlyphmarinaeApp";
    RegisterClassA(&window_class);
}

// The window procedure runs the whole creation sequence with the state
// before this returns.
HWND create_window(HINSTANCE instance, ModuleState& state)
{
    const Placement at = measure_area(state);
    register_window_class(instance);
    const Scene& scene = state.scene;
    // A handle that names no window would make the creation fail; such an
    // owner is tolerated by running without one.
    HWND parent = state.owner_window && IsWindow(state.owner_window) ? state.owner_window : nullptr;
    return CreateWindowExA(scene.preview ? 0 : full_screen_ex_style, "GlyphmarinaeApp", "Glyphmarinae",
                           scene.preview ? preview_style : full_screen_style, at.x, at.y, scene.client_width,
                           scene.client_height, parent, nullptr, instance, &state);
}

int run_window(HINSTANCE instance, ModuleState& state)
{
    if (!create_window(instance, state)) return 1;
    if (!state.scene.preview) ShowCursor(FALSE);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int run(HINSTANCE instance, std::string_view line)
{
    const HostCommand command = parse_command_line(line);
    if (command.action == HostAction::settings) return show_settings(command);

    ModuleState state;
    state.seed = command.seed;
    if (command.exit_event_given) state.exit_event = open_exit_event(command.exit_event_name);
    state.owner_window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(command.owner));
    state.scene.preview = command.preview_requested && state.owner_window && IsWindow(state.owner_window);
    // The settings dialog may close its preview pane just after starting us;
    // covering the desktop in its place would be a surprise.
    const int status = command.preview_only && !state.scene.preview ? 0 : run_window(instance, state);
    if (state.exit_event) CloseHandle(state.exit_event);
    return status;
}

} // namespace

} // namespace gm

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int)
{
    return gm::run(instance, command_line ? std::string_view(command_line) : std::string_view());
}
