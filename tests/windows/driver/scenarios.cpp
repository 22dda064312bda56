#include "scenarios.h"

#include <functional>
#include <map>

#include "input.h"

namespace wine_test {

namespace {

constexpr DWORD window_timeout_ms = 20000;
constexpr DWORD full_screen_style = WS_POPUP | WS_VISIBLE;

std::string hex(unsigned long long value)
{
    char text[32];
    wsprintfA(text, "0x%I64x", value);
    return text;
}

std::string rect_text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The scripts may choose another seed or moment for a picture to keep.
std::string environment_or(const char* name, const char* fallback)
{
    char value[64] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value) : std::string(fallback);
}

bool same_rect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != 0;
}

void expect_full_screen(Verdict& v, HWND window, HWND owner)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    RECT rect = {};
    GetWindowRect(window, &rect);
    v.expect(class_of(window) == "GlyphmarinaeApp", "window class is GlyphmarinaeApp");
    v.expect(title_of(window) == "Glyphmarinae", "window title is Glyphmarinae");
    v.expect((style & full_screen_style) == full_screen_style && !(style & WS_CHILD),
             "full-screen style is a visible pop-up: " + hex(style));
    v.expect((ex_style & WS_EX_TOPMOST) != 0, "full-screen window is topmost: " + hex(ex_style));
    v.expect(same_rect(rect, virtual_screen()), "window covers the virtual screen " + rect_text(rect));
    v.expect(GetWindow(window, GW_OWNER) == owner, "pop-up owner is " + hex(reinterpret_cast<UINT_PTR>(owner)));
}

void expect_preview(Verdict& v, HWND child, HWND owner)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
    RECT owner_client = {}, child_rect = {};
    GetClientRect(owner, &owner_client);
    GetWindowRect(child, &child_rect);
    MapWindowPoints(HWND_DESKTOP, owner, reinterpret_cast<POINT*>(&child_rect), 2);
    v.expect(GetAncestor(child, GA_PARENT) == owner, "preview window is a child of the owner");
    v.expect((style & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE), "preview style is a visible child: " + hex(style));
    v.expect((ex_style & WS_EX_TOPMOST) == 0, "preview window is not topmost");
    v.expect(same_rect(child_rect, owner_client),
             "preview covers the owner's client area " + rect_text(child_rect) + " vs " + rect_text(owner_client));
}

void expect_ends_with_code_0(Verdict& v, Screensaver& saver, DWORD timeout_ms, const std::string& why)
{
    const bool ended = saver.wait_for_exit(timeout_ms);
    v.expect(ended, why + ": the screensaver ended within " + std::to_string(timeout_ms) + " ms");
    if (ended) v.expect(saver.exit_code() == 0, "exit code 0 (got " + std::to_string(saver.exit_code()) + ")");
}

void end_through_event(Verdict& v, Screensaver& saver, NamedEvent& event)
{
    SetEvent(event.handle);
    expect_ends_with_code_0(v, saver, 3000, "host signalled the exit event");
}

void expect_still_running(Verdict& v, Screensaver& saver, const std::string& after)
{
    pump_for(600);
    v.expect(saver.running(), "still running after " + after);
}

// Starts a full-screen run and returns its window, or null after a failure.
HWND start_full_screen(Verdict& v, Screensaver& saver, const Paths& paths, const std::string& arguments,
                       HWND owner = nullptr)
{
    if (!start(saver, paths, arguments)) {
        v.expect(false, "CreateProcess started the screensaver");
        return nullptr;
    }
    HWND window = wait_for_top_level(saver, window_timeout_ms);
    v.expect(window != nullptr, "a full-screen window appeared");
    if (window) expect_full_screen(v, window, owner);
    return window;
}

HWND start_preview(Verdict& v, Screensaver& saver, const Paths& paths, const std::string& arguments, HWND owner)
{
    if (!start(saver, paths, arguments)) {
        v.expect(false, "CreateProcess started the screensaver");
        return nullptr;
    }
    HWND child = wait_for_child(owner, window_timeout_ms);
    v.expect(child != nullptr, "a preview window appeared inside the owner");
    if (child) expect_preview(v, child, owner);
    return child;
}

// --- scenarios -----------------------------------------------------------

void full_screen_screenshot(const Paths& paths, Verdict& v)
{
    NamedEvent event(true);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths,
                                    "--seed " + environment_or("GLYPH_SHOT_SEED", "20240607") + " --exitEvent " + event.name);
    if (!window) return;
    pump_for(static_cast<DWORD>(std::stoul(environment_or("GLYPH_SHOT_DELAY_MS", "2500"))));

    CURSORINFO cursor = {};
    cursor.cbSize = sizeof cursor;
    const bool known = GetCursorInfo(&cursor) != 0;
    v.note(std::string("cursor as Wine reports it: ") + (!known ? "unknown" : (cursor.flags & CURSOR_SHOWING) ? "showing" : "hidden"));
    if (known) v.expect(!(cursor.flags & CURSOR_SHOWING), "the cursor is hidden over the full-screen window");

    // The cell the screensaver measured, measured again the same way.
    const int screen_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int font_height = screen_height / 96 > 8 ? screen_height / 96 : 8;
    HFONT font = CreateFontA(-font_height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 4, 0x31, "Consolas");
    HDC dc = GetDC(nullptr);
    HGDIOBJ kept = SelectObject(dc, font);
    SIZE cell = {};
    GetTextExtentPoint32A(dc, "W", 1, &cell);
    char face[64] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, kept);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    v.note("font face " + std::string(face) + ", cell " + std::to_string(cell.cx) + "x" + std::to_string(cell.cy));

    write_file(paths.out_dir + "\\ready", std::to_string(cell.cx) + " " + std::to_string(cell.cy) + " " +
                                              std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + " " +
                                              std::to_string(screen_height) + "\n");
    const DWORD begin = GetTickCount();
    while (!file_exists(paths.out_dir + "\\shot-done") && GetTickCount() - begin < 60000) pump_for(50);
    v.expect(file_exists(paths.out_dir + "\\shot-done"), "the script took its screenshot");
    v.expect(saver.running(), "still running while the screenshot was taken");
    end_through_event(v, saver, event);
}

void close_by_input(const Paths& paths, Verdict& v, const std::string& how)
{
    NamedEvent event(true);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths, "--exitEvent " + event.name);
    if (!window) return;
    pump_for(300);
    if (how == "key") {
        // A modifier alone is a key press too.
        SetForegroundWindow(window);
        pump_for(200);
        v.expect(send_key(VK_SHIFT), "SendInput delivered the shift key");
    } else if (how == "left") {
        post_button(window, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 20, 20);
    } else {
        post_button(window, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 20, 20);
    }
    expect_ends_with_code_0(v, saver, 3000, how + " input");
    v.expect(event.signalled(), "the screensaver signalled the exit event");
}

void no_close_by_middle_or_wheel(const Paths& paths, Verdict& v)
{
    NamedEvent event(true);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths, "--exitEvent " + event.name);
    if (!window) return;
    pump_for(300);
    post_button(window, WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, 30, 30);
    expect_still_running(v, saver, "a middle click");
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(30, 30));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(30, 30));
    PostMessageA(window, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(30, 30));
    expect_still_running(v, saver, "wheel turns");
    PostMessageA(window, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    expect_still_running(v, saver, "a system key");
    v.expect(!event.signalled(), "the exit event was not signalled");
    end_through_event(v, saver, event);
}

void mouse_rule(const Paths& paths, Verdict& v)
{
    NamedEvent event(true);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths, "--exitEvent " + event.name);
    if (!window) return;
    const DWORD shown = GetTickCount();

    // The first position is where the pointer already is, so a movement that
    // Wine itself reports when the window appears lands on the same spot.
    POINT first = {};
    GetCursorPos(&first);
    ScreenToClient(window, &first);
    post_move(window, first.x, first.y);
    pump_for(150);
    v.expect(saver.running(), "the first movement does not close");
    post_move(window, first.x + 40, first.y + 30);
    pump_for(300);
    v.expect(GetTickCount() - shown < 2000, "the next movement came within the first 2000 ms");
    v.expect(saver.running(), "a movement within the first 2000 ms does not close");

    while (GetTickCount() - shown < 2400) pump_for(50);
    post_move(window, first.x, first.y);
    expect_still_running(v, saver, "a later movement back onto the first position");
    v.expect(!event.signalled(), "the exit event is not signalled yet");

    POINT target = {first.x + 25, first.y + 15};
    ClientToScreen(window, &target);
    v.expect(send_move_to(target.x, target.y), "SendInput moved the pointer to a new position");
    expect_ends_with_code_0(v, saver, 3000, "a later movement to a new position");
    v.expect(event.signalled(), "the screensaver signalled the exit event");
}

void host_exit_event(const Paths& paths, Verdict& v)
{
    OwnerWindow owner;
    // Auto-reset: the screensaver's own wait consumes the host's signal, so a
    // signal found afterwards could only be a second one from the screensaver.
    NamedEvent event(false);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths, "--owner " + owner.number() + " --exitEvent " + event.name,
                                    owner.handle);
    if (!window) return;
    pump_for(500);
    const DWORD signalled_at = GetTickCount();
    SetEvent(event.handle);
    // Without a window manager Wine waits two seconds for the X server to
    // withdraw a full-screen window before the destruction goes on; hiding it
    // is the first step of DestroyWindow and shows when the timer acted.
    while (IsWindowVisible(window) && GetTickCount() - signalled_at < 3000) pump_for(5);
    const DWORD took = GetTickCount() - signalled_at;
    v.expect(!IsWindowVisible(window), "the window went away after " + std::to_string(took) + " ms");
    v.expect(took < 500, "that is at the next timer message, not some seconds later");
    expect_ends_with_code_0(v, saver, 3000, "host signalled the exit event");
    v.note("the process ended " + std::to_string(GetTickCount() - signalled_at) + " ms after the signal");
    pump_for(300);
    v.expect(!event.signalled(), "the screensaver did not signal the event again");
    v.expect(owner.close_requests == 0 && IsWindow(owner.handle), "the owner was not asked to close");
}

void preview(const Paths& paths, Verdict& v)
{
    OwnerWindow owner;
    NamedEvent event(true);
    Screensaver saver;
    HWND child = start_preview(v, saver, paths, "--owner " + owner.number() + " --preview --exitEvent " + event.name,
                               owner.handle);
    if (!child) return;
    const DWORD shown = GetTickCount();
    pump_for(1000);
    RECT area = {};
    GetClientRect(owner.handle, &area);
    MapWindowPoints(owner.handle, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    // Wine does not show what one process draws into a child window of
    // another process's window, so what the preview draws is only reported.
    v.note("coloured pixels over the owner's client area: " + std::to_string(coloured_pixels(area)));

    post_key(child, 'A');
    post_button(child, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 10, 10);
    post_button(child, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 10, 10);
    post_move(child, 10, 10);
    post_move(child, 50, 60);
    expect_still_running(v, saver, "keys, clicks and movements in preview");
    while (GetTickCount() - shown < 2300) pump_for(50);
    post_move(child, 90, 90);
    post_move(child, 120, 40);
    expect_still_running(v, saver, "movements after 2000 ms in preview");
    v.expect(!event.signalled(), "input in preview did not signal the exit event");
    v.expect(owner.close_requests == 0, "input in preview did not ask the owner to close");
    end_through_event(v, saver, event);
    v.expect(!IsWindow(child), "the preview window is gone");
}

void preview_without_live_owner(const Paths& paths, Verdict& v)
{
    std::string dead_owner;
    {
        OwnerWindow gone;
        dead_owner = gone.number();
    }
    for (const std::string& options : {"--owner " + dead_owner + " --preview", std::string("--preview")}) {
        NamedEvent event(true);
        Screensaver saver;
        if (start_full_screen(v, saver, paths, options + " --exitEvent " + event.name)) end_through_event(v, saver, event);
    }
}

// The settings dialog may start its preview and close the pane at once: the
// standard preview argument then leaves no window behind, unlike "--preview".
void standard_preview_without_live_owner(const Paths& paths, Verdict& v)
{
    std::string dead_owner = OwnerWindow().number();
    for (const std::string& form : {"/p " + dead_owner, std::string("/p")}) {
        NamedEvent event(true);
        Screensaver saver;
        v.expect(start(saver, paths, form + " --exitEvent " + event.name), "CreateProcess started the screensaver");
        v.expect(wait_for_top_level(saver, 5000) == nullptr, form + ": no window appeared");
        expect_ends_with_code_0(v, saver, 1000, form);
        v.expect(!event.signalled(), form + ": the exit event was not signalled");
    }
}

// Another program taking the foreground ends a full-screen run the way a key
// press does; a preview lives inside its owner and carries on.
void lost_activation(const Paths& paths, Verdict& v)
{
    for (const bool preview : {false, true}) {
        OwnerWindow owner;
        NamedEvent event(true);
        Screensaver saver;
        const std::string options = (preview ? "/p " : "--owner ") + owner.number() + " --exitEvent " + event.name;
        HWND window = preview ? start_preview(v, saver, paths, options, owner.handle)
                              : start_full_screen(v, saver, paths, options, owner.handle);
        if (!window) continue;
        SetForegroundWindow(preview ? owner.handle : window);
        pump_for(300);
        OwnerWindow other;
        SetForegroundWindow(other.handle);
        if (preview) {
            expect_still_running(v, saver, "another window took the foreground from the preview's owner");
            end_through_event(v, saver, event);
            continue;
        }
        expect_ends_with_code_0(v, saver, 3000, "another program took the foreground");
        pump_for(300);
        v.expect(event.signalled() && owner.close_requests == 1, "the exit event was signalled and the owner told once");
    }
}

void standard_preview(const Paths& paths, Verdict& v)
{
    for (const std::string& form : {std::string("/p "), std::string("-P:")}) {
        OwnerWindow owner;
        NamedEvent event(true);
        Screensaver saver;
        HWND child = start_preview(v, saver, paths, form + owner.number() + " --exitEvent " + event.name, owner.handle);
        if (!child) continue;
        pump_for(300);
        post_key(child, VK_SPACE);
        post_button(child, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 10, 10);
        expect_still_running(v, saver, "input in the standard preview");
        end_through_event(v, saver, event);
    }
}

void owner_told_on_user_close(const Paths& paths, Verdict& v)
{
    OwnerWindow owner;
    NamedEvent event(true);
    Screensaver saver;
    HWND window = start_full_screen(v, saver, paths, "--owner " + owner.number() + " --exitEvent " + event.name,
                                    owner.handle);
    if (!window) return;
    pump_for(300);
    post_key(window, 'Q');
    expect_ends_with_code_0(v, saver, 3000, "a key press");
    pump_for(300);
    v.expect(event.signalled(), "the screensaver signalled the exit event");
    v.expect(owner.close_requests == 1, "the owner received WM_CLOSE (" + std::to_string(owner.close_requests) + ")");
}

HWND find_message_box(const Screensaver& saver, DWORD timeout_ms)
{
    struct Search {
        DWORD process_id;
        HWND found;
    } search = {saver.process.dwProcessId, nullptr};
    const DWORD begin = GetTickCount();
    while (!search.found && GetTickCount() - begin < timeout_ms && saver.running()) {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == s->process_id && class_of(window) == "#32770") s->found = window;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        pump_for(50);
    }
    return search.found;
}

// Windows starts an installed screensaver by its .scr file with these
// arguments, so that copy is the one run here.
void standard_settings_and_full_screen(const Paths& exe_paths, Verdict& v)
{
    Paths paths = exe_paths;
    const std::size_t dot = paths.screensaver.rfind('.');
    if (dot != std::string::npos) paths.screensaver = paths.screensaver.substr(0, dot) + ".scr";
    {
        Screensaver saver;
        v.expect(start(saver, paths, "/c"), "CreateProcess started the screensaver");
        HWND box = find_message_box(saver, window_timeout_ms);
        v.expect(box != nullptr, "/c shows a message box");
        if (box) {
            char text[256] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            v.expect(std::string(text).find("no settings") != std::string::npos, std::string("its text: ") + text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        expect_ends_with_code_0(v, saver, 3000, "the message box was dismissed");
    }
    for (const char* form : {"/s", "-S"}) {
        NamedEvent event(true);
        Screensaver saver;
        if (start_full_screen(v, saver, paths, std::string(form) + " --exitEvent " + event.name))
            end_through_event(v, saver, event);
    }
}

} // namespace

bool run_scenario(const std::string& name, const Paths& paths, Verdict& verdict)
{
    const std::map<std::string, std::function<void(const Paths&, Verdict&)>> scenarios = {
        {"full_screen_screenshot", full_screen_screenshot},
        {"close_by_key", [](const Paths& p, Verdict& v) { close_by_input(p, v, "key"); }},
        {"close_by_left_click", [](const Paths& p, Verdict& v) { close_by_input(p, v, "left"); }},
        {"close_by_right_click", [](const Paths& p, Verdict& v) { close_by_input(p, v, "right"); }},
        {"no_close_by_middle_or_wheel", no_close_by_middle_or_wheel},
        {"mouse_rule", mouse_rule},
        {"host_exit_event", host_exit_event},
        {"preview", preview},
        {"preview_without_live_owner", preview_without_live_owner},
        {"standard_preview", standard_preview},
        {"standard_preview_without_live_owner", standard_preview_without_live_owner},
        {"lost_activation", lost_activation},
        {"owner_told_on_user_close", owner_told_on_user_close},
        {"standard_settings_and_full_screen", standard_settings_and_full_screen},
    };
    const auto found = scenarios.find(name);
    if (found == scenarios.end()) return false;
    found->second(paths, verdict);
    return true;
}

} // namespace wine_test
