// Records what the 2.x callbacks receive. The callbacks are plain function pointers, so the
// record is one object the test functions reach through eventRecorder().
#pragma once

#include <vector>

struct KeyEvent {
    int key = 0;
    int action = 0;
    bool operator==(const KeyEvent& other) const {
        return key == other.key && action == other.action;
    }
};

struct MousePosition {
    int x = 0;
    int y = 0;
    bool operator==(const MousePosition& other) const { return x == other.x && y == other.y; }
};

struct EventRecorder {
    std::vector<KeyEvent> keys;
    std::vector<MousePosition> mousePositions;
    int closeRequests = 0;
    // What recordCloseRequest answers: 0 keeps the window open.
    int closeRequestResult = 0;
};

EventRecorder& eventRecorder();
void resetEventRecorder();

void recordKey(int key, int action);
void recordMousePosition(int x, int y);
int recordCloseRequest();

// Registers the three recording callbacks on the open window.
void registerRecordingCallbacks();

// The key presses recorded, in order, without the releases.
std::vector<int> recordedPresses();
