// Drives the X display the way a user would: xdotool for keys and pointer, and a direct
// connection for what xdotool cannot send (a window manager's close request), for finding
// windows and for the screen size.
#pragma once

#include <string>

bool hasDisplay();

// Runs xdotool with these arguments and waits for it; true when it succeeded.
bool runXdotool(const std::string& arguments);

// The X window whose title is exactly this one, or 0 when there is none.
unsigned long findWindowByTitle(const std::string& title);

// Sends the WM_DELETE_WINDOW message a window manager sends when the close box is clicked.
bool requestWindowClose(unsigned long window);

struct ScreenSize {
    int width = 0;
    int height = 0;
};
ScreenSize defaultScreenSize();

// Retries an action that connects to the display: the test server now and then refuses a
// connection opened right after another one closed.
bool retryWhileDisplayRefuses(bool (*connect)());
