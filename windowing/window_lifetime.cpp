#include "windowing/window_lifetime.h"

#include <GLFW/glfw3.h>

#include "windowing/adapter_state.h"
#include "windowing/cursor.h"
#include "windowing/event_delivery.h"
#include "windowing/key_table.h"
#include "windowing/offscreen_context.h"
#include "windowing/window_properties.h"

namespace windowing {

namespace {

const char* const kDefaultTitle = "GLFW Window";

WindowSize legacyWindowSize(int width, int height);
void applyWindowHints(const WindowRequest& request);
int colorBitsHint(int legacyBits);
int bufferBitsHint(int legacyBits);
void clearCallbacks(AdapterState& state);

}  // namespace

bool initializeLibrary() {
    AdapterState& state = adapterState();
    state.started = true;
    if (!state.initialized) {
        state.initialized = glfwInit() == GLFW_TRUE;
    }
    return state.initialized;
}

void terminateLibrary() {
    AdapterState& state = adapterState();
    closeOffscreenContext();
    if (!state.initialized) {
        state.started = false;
        return;
    }
    closeWindow();
    glfwTerminate();
    // The generation runs on, so events that a terminating callback left queued stay stale.
    const unsigned generation = state.windowGeneration;
    state = AdapterState{};
    state.windowGeneration = generation;
}

bool openWindow(const WindowRequest& request) {
    AdapterState& state = adapterState();
    if (!state.initialized) {
        return false;
    }
    closeWindow();
    closeOffscreenContext();

    GLFWmonitor* monitor = request.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    if (request.fullscreen && !monitor) {
        return false;
    }
    applyWindowHints(request);
    const WindowSize size = legacyWindowSize(request.width, request.height);
    GLFWwindow* window = glfwCreateWindow(size.width, size.height, kDefaultTitle, monitor, nullptr);
    if (!window) {
        return false;
    }

    // GLFW 3 does not focus a full-screen window itself; 2.x gave it the keyboard and the
    // pointer, and a held cursor is only followed in a focused window.
    if (request.fullscreen) {
        glfwFocusWindow(window);
    }
    state.window = window;
    clearCallbacks(state);
    releaseAllKeys();
    glfwMakeContextCurrent(window);
    collectEventsOf(window);
    startCursorForNewWindow(request.fullscreen);
    return true;
}

void closeWindow() {
    AdapterState& state = adapterState();
    if (!state.window) {
        return;
    }
    const unsigned generation = state.windowGeneration;
    releaseCursor();
    if (state.windowGeneration != generation) {
        return;  // the position report's handler already closed it
    }
    GLFWwindow* window = state.window;
    state.window = nullptr;
    ++state.windowGeneration;
    clearCallbacks(state);
    glfwDestroyWindow(window);
}

namespace {

// 2.x fills in a missing dimension at 4:3, or opens 640 by 480 when both are missing.
WindowSize legacyWindowSize(int width, int height) {
    if (width > 0 && height > 0) {
        return {width, height};
    }
    if (width > 0) {
        return {width, width * 3 / 4};
    }
    if (height > 0) {
        return {height * 4 / 3, height};
    }
    return {640, 480};
}

// No context version or profile is asked for, so the driver gives its highest context that
// keeps the legacy OpenGL calls.
void applyWindowHints(const WindowRequest& request) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, colorBitsHint(request.redBits));
    glfwWindowHint(GLFW_GREEN_BITS, colorBitsHint(request.greenBits));
    glfwWindowHint(GLFW_BLUE_BITS, colorBitsHint(request.blueBits));
    glfwWindowHint(GLFW_ALPHA_BITS, bufferBitsHint(request.alphaBits));
    glfwWindowHint(GLFW_DEPTH_BITS, bufferBitsHint(request.depthBits));
    glfwWindowHint(GLFW_STENCIL_BITS, bufferBitsHint(request.stencilBits));
}

// In 2.x, 0 colour bits means the desktop's depth rather than none.
int colorBitsHint(int legacyBits) {
    return legacyBits > 0 ? legacyBits : GLFW_DONT_CARE;
}

// For alpha, depth and stencil, 0 bits means no such buffer.
int bufferBitsHint(int legacyBits) {
    return legacyBits > 0 ? legacyBits : 0;
}

void clearCallbacks(AdapterState& state) {
    state.closeHandler = nullptr;
    state.keyHandler = nullptr;
    state.mousePositionHandler = nullptr;
    state.mouseButtonHandler = nullptr;
    state.wheelHandler = nullptr;
    state.dropHandler = nullptr;
    state.mouseButtonIsDown = {};
    state.wheelPosition = 0.0;
}

}  // namespace

}  // namespace windowing
