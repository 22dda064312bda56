#include "input.h"

#include <vector>

namespace wine_test {

void post_key(HWND window, WPARAM virtual_key)
{
    PostMessageA(window, WM_KEYDOWN, virtual_key, 1);
    PostMessageA(window, WM_KEYUP, virtual_key, 0xC0000001);
}

void post_button(HWND window, UINT down_message, UINT up_message, WPARAM down_state, int x, int y)
{
    PostMessageA(window, down_message, down_state, MAKELPARAM(x, y));
    PostMessageA(window, up_message, 0, MAKELPARAM(x, y));
}

void post_move(HWND window, int x, int y)
{
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

bool send_key(WORD virtual_key)
{
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtual_key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool send_move_to(int screen_x, int screen_y)
{
    // Absolute coordinates run from 0 to 65535 across the virtual screen.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<long long>(screen_x - left) * 65536 + width / 2) / width);
    input.mi.dy = static_cast<LONG>((static_cast<long long>(screen_y - top) * 65536 + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

int coloured_pixels(const RECT& screen_rect)
{
    const int width = screen_rect.right - screen_rect.left;
    const int height = screen_rect.bottom - screen_rect.top;
    if (width <= 0 || height <= 0) return 0;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ kept = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, screen_rect.left, screen_rect.top, SRCCOPY);
    GdiFlush();

    int count = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; pixels && i < width * height; ++i) {
        const DWORD rgb = pixels[i] & 0xFFFFFF;
        if (rgb != 0 && rgb != 0xFFFFFF) ++count;
    }
    SelectObject(memory, kept);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

} // namespace wine_test
