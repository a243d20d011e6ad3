// The adapter's one library-state object: the open window, the 2.x callbacks, the key table,
// the cursor bookkeeping and the events collected during a poll.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "windowing/key_table.h"

struct GLFWwindow;

namespace windowing {

using CloseRequestHandler = int (*)();
using KeyHandler = void (*)(int key, int action);
using MousePositionHandler = void (*)(int x, int y);
using MouseButtonHandler = void (*)(int button, int action);
using WheelHandler = void (*)(int position);
using DropHandler = void (*)(int count, const char** paths);

inline constexpr int kMouseButtonCount = 8;

struct PendingEvent {
    enum class Kind { Key, CursorMove, CloseRequest, MouseButton, Wheel, Drop };

    Kind kind = Kind::Key;
    // Events of a window that a callback has since closed are dropped.
    unsigned windowGeneration = 0;
    int key = 0;
    int action = 0;
    int x = 0;
    int y = 0;
    // A mouse button's number, the wheel's steps, or the dropped files.
    int button = 0;
    double wheelSteps = 0.0;
    std::vector<std::string> paths;
};

struct HeldCursor {
    bool active = false;
    // Set when the real cursor's position is not yet known to be the one last seen, so the
    // next step only re-centres it instead of counting a displacement.
    bool needsCentring = false;
    int lastSeenX = 0;
    int lastSeenY = 0;
};

// The EGL objects behind an off-screen context, kept as the opaque pointers EGL's handles are.
struct OffscreenContext {
    void* display = nullptr;
    void* surface = nullptr;
    void* context = nullptr;
    int width = 0;
    int height = 0;
};

struct AdapterState {
    // glfwInit was called; initialized says whether it found a display for windows.
    bool started = false;
    bool initialized = false;
    GLFWwindow* window = nullptr;
    unsigned windowGeneration = 0;

    CloseRequestHandler closeHandler = nullptr;
    KeyHandler keyHandler = nullptr;
    MousePositionHandler mousePositionHandler = nullptr;
    MouseButtonHandler mouseButtonHandler = nullptr;
    WheelHandler wheelHandler = nullptr;
    DropHandler dropHandler = nullptr;

    std::array<bool, kLegacyKeyCodeCount> keyIsDown{};

    // The position the 2.x interface reports: window coordinates, or unbounded while held.
    int mouseX = 0;
    int mouseY = 0;
    HeldCursor heldCursor;
    std::array<bool, kMouseButtonCount> mouseButtonIsDown{};
    // GLFW 3 scrolls in fractions on touchpads; 2.x counts whole steps.
    double wheelPosition = 0.0;

    std::vector<PendingEvent> pendingEvents;

    OffscreenContext offscreen;
};

AdapterState& adapterState();

}  // namespace windowing
