#include "session.h"

#include <cstdio>
#include <vector>

namespace wine_test {

void Verdict::expect(bool condition, const std::string& what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!condition) ++failures;
}

void Verdict::note(const std::string& what)
{
    std::printf("     %s\n", what.c_str());
    std::fflush(stdout);
}

Screensaver::~Screensaver()
{
    if (!started) return;
    if (running()) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool Screensaver::running() const
{
    return started && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

bool Screensaver::wait_for_exit(DWORD timeout_ms)
{
    const DWORD begin = GetTickCount();
    while (running()) {
        const DWORD spent = GetTickCount() - begin;
        if (spent >= timeout_ms) return false;
        MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, timeout_ms - spent, QS_ALLINPUT);
        pump_for(0);
    }
    return true;
}

DWORD Screensaver::exit_code() const
{
    DWORD code = 12345;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

bool start(Screensaver& saver, const Paths& paths, const std::string& arguments)
{
    std::string line = "\"" + paths.screensaver + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    saver.started = CreateProcessA(paths.screensaver.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &saver.process) != 0;
    std::printf("     started: %s\n", line.c_str());
    return saver.started;
}

void pump_for(DWORD ms)
{
    const DWORD begin = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD spent = GetTickCount() - begin;
        if (spent >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

namespace {

LRESULT CALLBACK owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_CLOSE) {
        // Kept open so the test can still see it; only the request counts.
        auto* owner = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (owner) ++owner->close_requests;
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

const char* owner_class()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = owner_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        window_class.lpszClassName = "GlyphTestOwner";
        RegisterClassA(&window_class);
        registered = true;
    }
    return "GlyphTestOwner";
}

} // namespace

OwnerWindow::OwnerWindow(int client_width, int client_height)
{
    RECT frame = {0, 0, client_width, client_height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    handle = CreateWindowExA(0, owner_class(), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    pump_for(200);
}

OwnerWindow::~OwnerWindow()
{
    if (IsWindow(handle)) DestroyWindow(handle);
}

std::string OwnerWindow::number() const
{
    return std::to_string(reinterpret_cast<UINT_PTR>(handle));
}

NamedEvent::NamedEvent(bool manual_reset)
{
    static int serial = 0;
    name = "GlyphTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    handle = CreateEventA(nullptr, manual_reset, FALSE, name.c_str());
}

NamedEvent::~NamedEvent()
{
    if (handle) CloseHandle(handle);
}

bool NamedEvent::signalled() const
{
    return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

namespace {

struct Search {
    DWORD process_id = 0;
    HWND found = nullptr;
};

BOOL CALLBACK match_top_level(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner_process = 0;
    GetWindowThreadProcessId(window, &owner_process);
    if (owner_process == search->process_id && class_of(window) == "GlyphmarinaeApp") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND wait_for_top_level(const Screensaver& saver, DWORD timeout_ms)
{
    const DWORD begin = GetTickCount();
    Search search;
    search.process_id = saver.process.dwProcessId;
    while (GetTickCount() - begin < timeout_ms && saver.running()) {
        // A window created visible is shown only after its WM_CREATE, during
        // which the whole scene is built.
        search.found = nullptr;
        EnumWindows(match_top_level, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found)) return search.found;
        pump_for(20);
    }
    return nullptr;
}

HWND wait_for_child(HWND owner, DWORD timeout_ms)
{
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < timeout_ms) {
        HWND child = FindWindowExA(owner, nullptr, "GlyphmarinaeApp", nullptr);
        if (child && IsWindowVisible(child)) return child;
        pump_for(20);
    }
    return nullptr;
}

std::string class_of(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string title_of(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT virtual_screen()
{
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool file_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void write_file(const std::string& path, const std::string& text)
{
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

} // namespace wine_test
