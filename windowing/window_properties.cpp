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
    if (GLFWwindow* window = adapterState().window) {
        glfwGetWindowSize(window, &size.width, &size.height);
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
