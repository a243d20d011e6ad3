// The desktop's video mode and the library clock.
#pragma once

namespace windowing {

struct DesktopMode {
    int width = 0;
    int height = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
};

// The primary monitor's current mode; all zero before the library starts or without a monitor.
DesktopMode desktopMode();
// Seconds on GLFW 3's clock, which starts with the library.
double secondsOnClock();

}  // namespace windowing
