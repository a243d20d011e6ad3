#include "windowing/event_delivery.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <string>
#include <vector>

#include "windowing/adapter_state.h"
#include "windowing/cursor.h"
#include "windowing/key_table.h"
#include "windowing/key_translation.h"
#include "windowing/window_lifetime.h"

namespace windowing {

namespace {

void collectKey(GLFWwindow* window, int glfw3Key, int scancode, int action, int mods);
void collectCursorPosition(GLFWwindow* window, double x, double y);
void collectCloseRequest(GLFWwindow* window);
void collectMouseButton(GLFWwindow* window, int button, int action, int mods);
void collectScroll(GLFWwindow* window, double xOffset, double yOffset);
void collectDrop(GLFWwindow* window, int count, const char** paths);
void deliver(const PendingEvent& event);
void deliverMouseButton(int button, int action);
void deliverWheel(double steps);
void deliverDrop(const std::vector<std::string>& paths);
void deliverKey(int legacyKey, int action);
void deliverCloseRequest();

}  // namespace

void collectEventsOf(GLFWwindow* window) {
    glfwSetKeyCallback(window, collectKey);
    glfwSetCursorPosCallback(window, collectCursorPosition);
    glfwSetWindowCloseCallback(window, collectCloseRequest);
    glfwSetMouseButtonCallback(window, collectMouseButton);
    glfwSetScrollCallback(window, collectScroll);
    glfwSetDropCallback(window, collectDrop);
}

void pollAndDeliverEvents() {
    AdapterState& state = adapterState();
    if (!state.initialized) {
        return;
    }
    glfwPollEvents();

    // A callback may poll again or rebuild the window, so the batch is taken out first.
    std::vector<PendingEvent> events;
    events.swap(state.pendingEvents);
    for (const PendingEvent& event : events) {
        if (event.windowGeneration == state.windowGeneration) {
            deliver(event);
        }
    }
    followHeldCursor();
}

namespace {

void collectKey(GLFWwindow* /*window*/, int glfw3Key, int /*scancode*/, int action, int /*mods*/) {
    // Key repeat is off in 2.x: a held key presses once.
    if (action == GLFW_REPEAT) {
        return;
    }
    const int legacyKey = legacyKeyFromGlfw3(glfw3Key);
    if (legacyKey < 0) {
        return;
    }
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::Key;
    event.windowGeneration = state.windowGeneration;
    event.key = legacyKey;
    event.action = action;
    state.pendingEvents.push_back(event);
}

void collectCursorPosition(GLFWwindow* /*window*/, double x, double y) {
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::CursorMove;
    event.windowGeneration = state.windowGeneration;
    event.x = windowCoordinate(x);
    event.y = windowCoordinate(y);
    state.pendingEvents.push_back(event);
}

void collectCloseRequest(GLFWwindow* /*window*/) {
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::CloseRequest;
    event.windowGeneration = state.windowGeneration;
    state.pendingEvents.push_back(event);
}

void collectMouseButton(GLFWwindow* /*window*/, int button, int action, int /*mods*/) {
    if (button < 0 || button >= kMouseButtonCount) {
        return;
    }
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::MouseButton;
    event.windowGeneration = state.windowGeneration;
    event.button = button;
    event.action = action == GLFW_PRESS ? 1 : 0;
    state.pendingEvents.push_back(event);
}

void collectScroll(GLFWwindow* /*window*/, double /*xOffset*/, double yOffset) {
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::Wheel;
    event.windowGeneration = state.windowGeneration;
    event.wheelSteps = yOffset;
    state.pendingEvents.push_back(event);
}

// GLFW 3's paths live only during its callback, so they are copied.
void collectDrop(GLFWwindow* /*window*/, int count, const char** paths) {
    AdapterState& state = adapterState();
    PendingEvent event;
    event.kind = PendingEvent::Kind::Drop;
    event.windowGeneration = state.windowGeneration;
    event.paths.assign(paths, paths + count);
    state.pendingEvents.push_back(event);
}

void deliver(const PendingEvent& event) {
    switch (event.kind) {
        case PendingEvent::Kind::Key:
            deliverKey(event.key, event.action);
            break;
        case PendingEvent::Kind::CursorMove:
            followWindowCursor(event.x, event.y);
            break;
        case PendingEvent::Kind::CloseRequest:
            deliverCloseRequest();
            break;
        case PendingEvent::Kind::MouseButton:
            deliverMouseButton(event.button, event.action);
            break;
        case PendingEvent::Kind::Wheel:
            deliverWheel(event.wheelSteps);
            break;
        case PendingEvent::Kind::Drop:
            deliverDrop(event.paths);
            break;
    }
}

void deliverMouseButton(int button, int action) {
    AdapterState& state = adapterState();
    bool& down = state.mouseButtonIsDown[static_cast<std::size_t>(button)];
    if (down == (action == 1)) {
        return;
    }
    down = action == 1;
    if (state.mouseButtonHandler) {
        state.mouseButtonHandler(button, action);
    }
}

void deliverWheel(double steps) {
    AdapterState& state = adapterState();
    const int before = static_cast<int>(std::floor(state.wheelPosition));
    state.wheelPosition += steps;
    const int after = static_cast<int>(std::floor(state.wheelPosition));
    if (after != before && state.wheelHandler) {
        state.wheelHandler(after);
    }
}

void deliverDrop(const std::vector<std::string>& paths) {
    const DropHandler handler = adapterState().dropHandler;
    if (!handler || paths.empty()) {
        return;
    }
    std::vector<const char*> texts;
    for (const std::string& path : paths) {
        texts.push_back(path.c_str());
    }
    handler(static_cast<int>(texts.size()), texts.data());
}

void deliverKey(int legacyKey, int action) {
    const KeyHandler handler = adapterState().keyHandler;
    if (recordKeyAction(legacyKey, action) && handler) {
        handler(legacyKey, action);
    }
}

// The handler's 0 keeps the window open; without a handler, or on any other result, the
// window closes as glfwCloseWindow would close it.
void deliverCloseRequest() {
    AdapterState& state = adapterState();
    const unsigned generation = state.windowGeneration;
    const bool keepOpen = state.closeHandler && state.closeHandler() == 0;
    if (state.windowGeneration != generation) {
        return;  // the handler closed the window itself
    }
    if (keepOpen) {
        glfwSetWindowShouldClose(state.window, GLFW_FALSE);
    } else {
        closeWindow();
    }
}

}  // namespace

}  // namespace windowing
