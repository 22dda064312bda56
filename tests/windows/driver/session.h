#pragma once
#include <windows.h>

#include <string>

namespace wine_test {

// Counts the failed expectations of the running scenario.
struct Verdict {
    int failures = 0;
    void expect(bool condition, const std::string& what);
    void note(const std::string& what);
};

// One screensaver process started with a command line.
struct Screensaver {
    PROCESS_INFORMATION process = {};
    bool started = false;
    ~Screensaver();
    bool running() const;
    // Waits up to timeout_ms for the end, handling the driver's own messages
    // meanwhile; returns false if it is still running.
    bool wait_for_exit(DWORD timeout_ms);
    DWORD exit_code() const;
};

// The options a test passes to every start.
struct Paths {
    std::string screensaver; // Windows path of glyphmarinae.exe
    std::string out_dir;     // Windows path for files shared with the script
};

bool start(Screensaver& saver, const Paths& paths, const std::string& arguments);

// Handles the driver's messages for a while, so that owner windows answer.
void pump_for(DWORD ms);

// A top-level window of the driver that records the close requests it gets.
struct OwnerWindow {
    HWND handle = nullptr;
    int close_requests = 0;
    explicit OwnerWindow(int client_width = 480, int client_height = 320);
    ~OwnerWindow();
    std::string number() const;
};

// A named event the screensaver can open.
struct NamedEvent {
    HANDLE handle = nullptr;
    std::string name;
    explicit NamedEvent(bool manual_reset);
    ~NamedEvent();
    bool signalled() const;
};

HWND wait_for_top_level(const Screensaver& saver, DWORD timeout_ms);
HWND wait_for_child(HWND owner, DWORD timeout_ms);
std::string class_of(HWND window);
std::string title_of(HWND window);
RECT virtual_screen();

bool file_exists(const std::string& path);
void write_file(const std::string& path, const std::string& text);

} // namespace wine_test
