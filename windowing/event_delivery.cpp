#include "windowing/event_delivery.h"

#include <GLFW/glfw3.h>

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
void deliver(const PendingEvent& event);
void deliverKey(int legacyKey, int action);
void deliverCloseRequest();

}  // namespace

void collectEventsOf(GLFWwindow* window) {
    glfwSetKeyCallback(window, collectKey);
    glfwSetCursorPosCallback(window, collectCursorPosition);
    glfwSetWindowCloseCallback(window, collectCloseRequest);
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
    }
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
