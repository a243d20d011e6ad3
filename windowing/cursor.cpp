// The held cursor is not GLFW 3's disabled mode: that mode's position starts from wherever the
// real cursor is, not from the position last reported, so its first report would jump. A
// hidden cursor that is read and warped back to the centre after every poll moves exactly.
#include "windowing/cursor.h"

#include <GLFW/glfw3.h>

#include <cmath>

#include "windowing/adapter_state.h"

namespace windowing {

namespace {

struct WindowPoint {
    int x = 0;
    int y = 0;
};

WindowPoint windowCentre(GLFWwindow* window);
WindowPoint realCursorPosition(GLFWwindow* window);
void centreRealCursor(AdapterState& state);

}  // namespace

void startCursorForNewWindow(bool held) {
    AdapterState& state = adapterState();
    state.mouseX = 0;
    state.mouseY = 0;
    state.heldCursor = HeldCursor{};
    if (held) {
        holdCursor();
    }
}

void holdCursor() {
    AdapterState& state = adapterState();
    if (!state.window || state.heldCursor.active) {
        return;
    }
    glfwSetInputMode(state.window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    state.heldCursor.active = true;
    state.heldCursor.needsCentring = true;
    followHeldCursor();
}

void releaseCursor() {
    AdapterState& state = adapterState();
    if (!state.window || !state.heldCursor.active) {
        return;
    }
    state.heldCursor = HeldCursor{};
    glfwSetInputMode(state.window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
    const WindowPoint centre = windowCentre(state.window);
    glfwSetCursorPos(state.window, centre.x, centre.y);
    reportMousePosition(centre.x, centre.y);
}

void followHeldCursor() {
    AdapterState& state = adapterState();
    HeldCursor& held = state.heldCursor;
    if (!state.window || !held.active) {
        return;
    }
    // GLFW 3 only warps the cursor of a focused window; without focus the cursor belongs to
    // whatever the user is doing elsewhere.
    if (!glfwGetWindowAttrib(state.window, GLFW_FOCUSED)) {
        held.needsCentring = true;
        return;
    }
    if (held.needsCentring) {
        centreRealCursor(state);
        return;
    }
    const WindowPoint cursor = realCursorPosition(state.window);
    const int dx = cursor.x - held.lastSeenX;
    const int dy = cursor.y - held.lastSeenY;
    if (dx == 0 && dy == 0) {
        return;
    }
    // Re-centred before the report, as the callback may close the window.
    centreRealCursor(state);
    reportMousePosition(state.mouseX + dx, state.mouseY + dy);
}

void followWindowCursor(int x, int y) {
    if (!adapterState().heldCursor.active) {
        reportMousePosition(x, y);
    }
}

void reportMousePosition(int x, int y) {
    AdapterState& state = adapterState();
    if (x == state.mouseX && y == state.mouseY) {
        return;
    }
    state.mouseX = x;
    state.mouseY = y;
    if (state.mousePositionHandler) {
        state.mousePositionHandler(x, y);
    }
}

int windowCoordinate(double glfw3Coordinate) {
    return static_cast<int>(std::floor(glfw3Coordinate));
}

namespace {

WindowPoint windowCentre(GLFWwindow* window) {
    int width = 0;
    int height = 0;
    glfwGetWindowSize(window, &width, &height);
    return {width / 2, height / 2};
}

WindowPoint realCursorPosition(GLFWwindow* window) {
    double x = 0.0;
    double y = 0.0;
    glfwGetCursorPos(window, &x, &y);
    return {windowCoordinate(x), windowCoordinate(y)};
}

// Displacements are measured from where the cursor really is after the warp, so a warp that
// has not taken effect cannot show up as motion.
void centreRealCursor(AdapterState& state) {
    const WindowPoint centre = windowCentre(state.window);
    glfwSetCursorPos(state.window, centre.x, centre.y);
    const WindowPoint cursor = realCursorPosition(state.window);
    state.heldCursor.lastSeenX = cursor.x;
    state.heldCursor.lastSeenY = cursor.y;
    state.heldCursor.needsCentring = false;
}

}  // namespace

}  // namespace windowing
