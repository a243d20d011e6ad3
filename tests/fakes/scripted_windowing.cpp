#include "tests/fakes/scripted_windowing.h"

#include "tests/fakes/call_log.h"

namespace {

ScriptedWindowing& library() {
    return scriptedWindowing();
}

void reportMousePosition(int x, int y) {
    library().mouseX = x;
    library().mouseY = y;
    if (library().mousePosCallback != nullptr) {
        library().mousePosCallback(x, y);
    }
}

void showCursorAtCentre() {
    library().cursorHidden = false;
    const int centreX = library().windowWidth / 2;
    const int centreY = library().windowHeight / 2;
    if (centreX != library().mouseX || centreY != library().mouseY) {
        reportMousePosition(centreX, centreY);
    }
}

}  // namespace

ScriptedWindowing& scriptedWindowing() {
    static ScriptedWindowing windowing;
    return windowing;
}

void resetScriptedWindowing() {
    scriptedWindowing() = ScriptedWindowing();
    clearCallLog();
}

void pressKey(int key) {
    library().keyPressed[key] = true;
    if (library().keyCallback != nullptr) {
        library().keyCallback(key, GLFW_PRESS);
    }
}

void releaseKey(int key) {
    library().keyPressed[key] = false;
    if (library().keyCallback != nullptr) {
        library().keyCallback(key, GLFW_RELEASE);
    }
}

void moveMouseTo(int x, int y) {
    reportMousePosition(x, y);
}

void requestWindowClose() {
    if (library().closeCallback != nullptr && library().closeCallback() == 0) {
        return;
    }
    glfwCloseWindow();
}

int glfwInit(void) {
    recordCall("glfwInit");
    return 1;
}

void glfwTerminate(void) {
    recordCall("glfwTerminate");
    library().windowOpen = false;
}

int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode) {
    recordCall("glfwOpenWindow", {static_cast<double>(width), static_cast<double>(height),
                                  static_cast<double>(redBits), static_cast<double>(greenBits),
                                  static_cast<double>(blueBits), static_cast<double>(alphaBits),
                                  static_cast<double>(depthBits), static_cast<double>(stencilBits),
                                  static_cast<double>(mode)});
    const int attempt = library().openCount++;
    const bool succeeds =
        attempt >= static_cast<int>(library().openResults.size()) || library().openResults[attempt];
    if (!succeeds) {
        return 0;
    }
    library().windowOpen = true;
    library().windowWidth = width;
    library().windowHeight = height;
    library().mouseX = 0;
    library().mouseY = 0;
    library().cursorHidden = mode == GLFW_FULLSCREEN;
    library().closeCallback = nullptr;
    library().keyCallback = nullptr;
    library().mousePosCallback = nullptr;
    library().mouseButtonCallback = nullptr;
    library().wheelCallback = nullptr;
    library().dropCallback = nullptr;
    for (bool& pressed : library().keyPressed) {
        pressed = false;
    }
    return 1;
}

void glfwCloseWindow(void) {
    recordCall("glfwCloseWindow");
    if (library().windowOpen && library().cursorHidden) {
        showCursorAtCentre();
    }
    library().windowOpen = false;
}

void glfwSetWindowTitle(const char* title) {
    recordCall("glfwSetWindowTitle", {}, title);
}

void glfwGetWindowSize(int* width, int* height) {
    recordCall("glfwGetWindowSize");
    *width = library().windowWidth;
    *height = library().windowHeight;
}

void glfwSwapInterval(int interval) {
    recordCall("glfwSwapInterval", {static_cast<double>(interval)});
}

void glfwSwapBuffers(void) {
    recordCall("glfwSwapBuffers");
    const int swap = ++library().swapCount;
    library().now += library().secondsPerSwap;
    if (swap >= library().closeRequestAtSwap) {
        requestWindowClose();
    }
    const auto events = library().eventsAtSwap.find(swap);
    if (events == library().eventsAtSwap.end()) {
        return;
    }
    // Copied: an event may reschedule others.
    const std::vector<std::function<void()>> actions = events->second;
    for (const auto& action : actions) {
        action();
    }
}

void glfwPollEvents(void) {
    recordCall("glfwPollEvents");
}

int glfwGetKey(int key) {
    library().keysRead.push_back(key);
    if (key < 0 || key > GLFW_KEY_LAST) {
        return GLFW_RELEASE;
    }
    return library().keyPressed[key] ? GLFW_PRESS : GLFW_RELEASE;
}

void glfwSetWindowCloseCallback(GLFWwindowclosefun callback) {
    recordCall("glfwSetWindowCloseCallback");
    library().closeCallback = callback;
}

void glfwSetKeyCallback(GLFWkeyfun callback) {
    recordCall("glfwSetKeyCallback");
    library().keyCallback = callback;
}

void glfwSetMousePosCallback(GLFWmouseposfun callback) {
    recordCall("glfwSetMousePosCallback");
    library().mousePosCallback = callback;
    if (callback != nullptr) {
        callback(library().mouseX, library().mouseY);
    }
}

void glfwGetMousePos(int* x, int* y) {
    *x = library().mouseX;
    *y = library().mouseY;
}

int glfwGetMouseButton(int button) {
    return button >= 0 && button <= GLFW_MOUSE_BUTTON_LAST && library().buttonPressed[button]
               ? GLFW_PRESS
               : GLFW_RELEASE;
}

void glfwSetMouseButtonCallback(GLFWmousebuttonfun callback) {
    recordCall("glfwSetMouseButtonCallback");
    library().mouseButtonCallback = callback;
}

int glfwGetMouseWheel(void) {
    return library().wheelPosition;
}

void glfwSetMouseWheelCallback(GLFWmousewheelfun callback) {
    recordCall("glfwSetMouseWheelCallback");
    library().wheelCallback = callback;
}

void glfwSetDropCallback(GLFWdropfun callback) {
    recordCall("glfwSetDropCallback");
    library().dropCallback = callback;
}

void glfwEnable(int token) {
    recordCall("glfwEnable", {static_cast<double>(token)});
    if (token == GLFW_MOUSE_CURSOR && library().cursorHidden) {
        showCursorAtCentre();
    }
}

void glfwDisable(int token) {
    recordCall("glfwDisable", {static_cast<double>(token)});
    if (token == GLFW_MOUSE_CURSOR) {
        library().cursorHidden = true;
    }
}

void glfwGetDesktopMode(GLFWvidmode* mode) {
    recordCall("glfwGetDesktopMode");
    *mode = library().desktopMode;
}

double glfwGetTime(void) {
    recordCall("glfwGetTime");
    const double reading = library().now;
    library().now += library().secondsPerTimeRead;
    return reading;
}
