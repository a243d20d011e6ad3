#include "windowing/window_properties.h"

#include <GLFW/glfw3.h>

#include "windowing/adapter_state.h"
#include "windowing/event_delivery.h"

namespace windowing {

void setWindowTitle(const char* title) {
    GLFWwindow* window = adapterState().window;
    if (window && title) {
        glfwSetWindowTitle(window, title);
    }
}

WindowSize openWindowSize() {
    WindowSize size;
    const AdapterState& state = adapterState();
    if (GLFWwindow* window = state.window) {
        glfwGetWindowSize(window, &size.width, &size.height);
    } else if (state.offscreen.display) {
        size = {state.offscreen.width, state.offscreen.height};
    }
    return size;
}

void setSwapInterval(int interval) {
    if (adapterState().window) {
        glfwSwapInterval(interval);
    }
}

void swapBuffersAndDeliverEvents() {
    if (GLFWwindow* window = adapterState().window) {
        glfwSwapBuffers(window);
    }
    pollAndDeliverEvents();
}

}  // namespace windowing
