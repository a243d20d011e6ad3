#include "windowing/desktop_and_clock.h"

#include <GLFW/glfw3.h>

#include "windowing/adapter_state.h"

namespace windowing {

DesktopMode desktopMode() {
    if (!adapterState().initialized) {
        return {};
    }
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* current = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!current) {
        return {};
    }
    return {current->width, current->height, current->redBits, current->greenBits,
            current->blueBits};
}

double secondsOnClock() {
    return glfwGetTime();
}

}  // namespace windowing
