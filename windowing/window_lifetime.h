// The library's start and end, and the one window's opening and closing.
#pragma once

namespace windowing {

struct WindowRequest {
    int width = 0;
    int height = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
    int alphaBits = 0;
    int depthBits = 0;
    int stencilBits = 0;
    bool fullscreen = false;
};

bool initializeLibrary();
// Closes the window first, as 2.x does.
void terminateLibrary();

// Replaces any open window. The new window has no callbacks, every key released, the mouse
// at (0, 0) and its context current.
bool openWindow(const WindowRequest& request);
// Shows a held cursor again (with its centre report) before the window goes.
void closeWindow();

}  // namespace windowing
