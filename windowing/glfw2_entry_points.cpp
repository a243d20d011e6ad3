// The 2.x calls. Each takes care of the 2.x conventions (tokens, modes, null pointers) and
// hands the work to the part of the adapter that owns it.
#include "windowing/glfw2.h"

#include <cmath>

#include "windowing/adapter_state.h"
#include "windowing/cursor.h"
#include "windowing/desktop_and_clock.h"
#include "windowing/event_delivery.h"
#include "windowing/key_table.h"
#include "windowing/offscreen_context.h"
#include "windowing/window_lifetime.h"
#include "windowing/window_properties.h"

using windowing::adapterState;

int glfwInit(void) {
    return windowing::initializeLibrary() ? 1 : 0;
}

void glfwTerminate(void) {
    windowing::terminateLibrary();
}

int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode) {
    windowing::WindowRequest request;
    request.width = width;
    request.height = height;
    request.redBits = redBits;
    request.greenBits = greenBits;
    request.blueBits = blueBits;
    request.alphaBits = alphaBits;
    request.depthBits = depthBits;
    request.stencilBits = stencilBits;
    request.fullscreen = mode == GLFW_FULLSCREEN;
    if (mode == GLFW_OFFSCREEN) {
        return windowing::openOffscreenContext(request) ? 1 : 0;
    }
    return windowing::openWindow(request) ? 1 : 0;
}

void glfwCloseWindow(void) {
    windowing::closeWindow();
    windowing::closeOffscreenContext();
}

void glfwSetWindowTitle(const char* title) {
    windowing::setWindowTitle(title);
}

void glfwGetWindowSize(int* width, int* height) {
    const windowing::WindowSize size = windowing::openWindowSize();
    if (width) {
        *width = size.width;
    }
    if (height) {
        *height = size.height;
    }
}

void glfwSwapInterval(int interval) {
    windowing::setSwapInterval(interval);
}

void glfwSwapBuffers(void) {
    windowing::swapBuffersAndDeliverEvents();
}

void glfwPollEvents(void) {
    windowing::pollAndDeliverEvents();
}

int glfwGetKey(int key) {
    return windowing::legacyKeyState(key);
}

// Callbacks belong to the open window; without one there is nothing to register them on.
void glfwSetWindowCloseCallback(GLFWwindowclosefun callback) {
    if (adapterState().window) {
        adapterState().closeHandler = callback;
    }
}

void glfwSetKeyCallback(GLFWkeyfun callback) {
    if (adapterState().window) {
        adapterState().keyHandler = callback;
    }
}

void glfwSetMousePosCallback(GLFWmouseposfun callback) {
    windowing::AdapterState& state = adapterState();
    if (!state.window) {
        return;
    }
    state.mousePositionHandler = callback;
    if (callback) {
        callback(state.mouseX, state.mouseY);
    }
}

void glfwGetMousePos(int* x, int* y) {
    if (x) {
        *x = adapterState().mouseX;
    }
    if (y) {
        *y = adapterState().mouseY;
    }
}

int glfwGetMouseButton(int button) {
    if (button < 0 || button >= windowing::kMouseButtonCount) {
        return GLFW_RELEASE;
    }
    return adapterState().mouseButtonIsDown[static_cast<std::size_t>(button)] ? GLFW_PRESS
                                                                              : GLFW_RELEASE;
}

void glfwSetMouseButtonCallback(GLFWmousebuttonfun callback) {
    if (adapterState().window) {
        adapterState().mouseButtonHandler = callback;
    }
}

int glfwGetMouseWheel(void) {
    return static_cast<int>(std::floor(adapterState().wheelPosition));
}

void glfwSetMouseWheelCallback(GLFWmousewheelfun callback) {
    if (adapterState().window) {
        adapterState().wheelHandler = callback;
    }
}

void glfwSetDropCallback(GLFWdropfun callback) {
    if (adapterState().window) {
        adapterState().dropHandler = callback;
    }
}

void glfwEnable(int token) {
    if (token == GLFW_MOUSE_CURSOR) {
        windowing::releaseCursor();
    }
}

void glfwDisable(int token) {
    if (token == GLFW_MOUSE_CURSOR) {
        windowing::holdCursor();
    }
}

void glfwGetDesktopMode(GLFWvidmode* mode) {
    if (!mode) {
        return;
    }
    const windowing::DesktopMode desktop = windowing::desktopMode();
    mode->Width = desktop.width;
    mode->Height = desktop.height;
    mode->RedBits = desktop.redBits;
    mode->GreenBits = desktop.greenBits;
    mode->BlueBits = desktop.blueBits;
}

double glfwGetTime(void) {
    return windowing::secondsOnClock();
}
