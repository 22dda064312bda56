#pragma once
#include <windows.h>

namespace wine_test {

void post_key(HWND window, WPARAM virtual_key);
void post_button(HWND window, UINT down_message, UINT up_message, WPARAM down_state, int x, int y);
void post_move(HWND window, int x, int y);

// Input through the system queue, as a person's keyboard or mouse would give it.
bool send_key(WORD virtual_key);
bool send_move_to(int screen_x, int screen_y);

// Pixels of a screen rectangle that are neither black nor white, so that an
// owner's white background or an unpainted black window counts as nothing.
int coloured_pixels(const RECT& screen_rect);

} // namespace wine_test
