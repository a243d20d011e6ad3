// The off-screen context of GLFW_OFFSCREEN: an OpenGL context on an EGL pixel buffer, found
// without any display, for rendering pictures headless.
#pragma once

#include "windowing/window_lifetime.h"

namespace windowing {

// Replaces any open window or off-screen context; the new context is current and its default
// framebuffer is request.width by request.height. False when EGL offers no such context.
bool openOffscreenContext(const WindowRequest& request);
void closeOffscreenContext();
bool offscreenContextOpen();

}  // namespace windowing
