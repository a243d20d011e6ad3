// A stand-in for the windowing library: a scripted clock, a key table, events delivered from
// inside glfwSwapBuffers, and every call recorded in the call log. It keeps the library's
// mouse contract: (0, 0) after an open, the registration report, and the centre report when a
// hidden cursor is released.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "windowing/glfw2.h"

struct ScriptedWindowing {
    // The clock advances by this much after every glfwGetTime reading.
    double secondsPerTimeRead = 0.0;
    // And by this much inside every glfwSwapBuffers.
    double secondsPerSwap = 0.0;
    double now = 0.0;

    // Results of successive glfwOpenWindow calls; when the list runs out, opens succeed.
    std::vector<bool> openResults;
    GLFWvidmode desktopMode{1920, 1080, 8, 8, 8};

    // Actions run inside the numbered glfwSwapBuffers call (1 is the first), in order. They
    // play the part of the events the library delivers there.
    std::map<int, std::vector<std::function<void()>>> eventsAtSwap;
    // A loop that a test forgot to end is ended with a close request at this swap.
    int closeRequestAtSwap = 1000;

    // Every key code glfwGetKey was asked about, in order.
    std::vector<int> keysRead;

    // Library state.
    int swapCount = 0;
    int openCount = 0;
    bool windowOpen = false;
    bool cursorHidden = false;
    int windowWidth = 0;
    int windowHeight = 0;
    int mouseX = 0;
    int mouseY = 0;
    bool keyPressed[GLFW_KEY_LAST + 1] = {};
    GLFWwindowclosefun closeCallback = nullptr;
    GLFWkeyfun keyCallback = nullptr;
    GLFWmouseposfun mousePosCallback = nullptr;
    bool buttonPressed[GLFW_MOUSE_BUTTON_LAST + 1] = {};
    int wheelPosition = 0;
    GLFWmousebuttonfun mouseButtonCallback = nullptr;
    GLFWmousewheelfun wheelCallback = nullptr;
    GLFWdropfun dropCallback = nullptr;
};

ScriptedWindowing& scriptedWindowing();
// Restores a fresh library and clears the call log.
void resetScriptedWindowing();

// Events a test schedules with eventsAtSwap; each updates the library's state and calls the
// registered callback as the library would.
void pressKey(int key);
void releaseKey(int key);
void moveMouseTo(int x, int y);
void requestWindowClose();
