// What the shell sets and reads on the open window; each is a no-op without one.
#pragma once

namespace windowing {

struct WindowSize {
    int width = 0;
    int height = 0;
};

void setWindowTitle(const char* title);
// (0, 0) when no window is open.
WindowSize openWindowSize();
void setSwapInterval(int interval);
// Swaps, then polls and delivers events, as 2.x's automatic polling did.
void swapBuffersAndDeliverEvents();

}  // namespace windowing
