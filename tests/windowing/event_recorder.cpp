#include "tests/windowing/event_recorder.h"

#include "windowing/glfw2.h"

EventRecorder& eventRecorder() {
    static EventRecorder recorder;
    return recorder;
}

void resetEventRecorder() {
    eventRecorder() = EventRecorder{};
}

void recordKey(int key, int action) {
    eventRecorder().keys.push_back({key, action});
}

void recordMousePosition(int x, int y) {
    eventRecorder().mousePositions.push_back({x, y});
}

int recordCloseRequest() {
    ++eventRecorder().closeRequests;
    return eventRecorder().closeRequestResult;
}

void registerRecordingCallbacks() {
    glfwSetWindowCloseCallback(recordCloseRequest);
    glfwSetKeyCallback(recordKey);
    glfwSetMousePosCallback(recordMousePosition);
}

std::vector<int> recordedPresses() {
    std::vector<int> presses;
    for (const KeyEvent& event : eventRecorder().keys) {
        if (event.action == GLFW_PRESS) {
            presses.push_back(event.key);
        }
    }
    return presses;
}
