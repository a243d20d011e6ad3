// Opening, closing and reopening the one window, also from inside a key callback as the
// shell's F1 handler does, and full-screen windows.
#include <gtest/gtest.h>

#include <vector>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/window_test_fixture.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

class WindowLifetimeTest : public WindowTest {
  protected:
    static int openPlainWindow() {
        return glfwOpenWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW);
    }
};

// Closes and reopens the window on F1, as the shell's mode switch does.
void reopenWindowOnF1(int key, int action) {
    recordKey(key, action);
    if (key == GLFW_KEY_F1 && action == GLFW_PRESS) {
        glfwCloseWindow();
        glfwOpenWindow(320, 240, 8, 8, 8, 8, 24, 8, GLFW_WINDOW);
        glfwSetKeyCallback(recordKey);
    }
}

// Switches to full screen on F1, as the shell's mode switch does from windowed mode.
void reopenFullScreenOnF1(int key, int action) {
    if (key == GLFW_KEY_F1 && action == GLFW_PRESS) {
        glfwCloseWindow();
        GLFWvidmode desktop{};
        glfwGetDesktopMode(&desktop);
        glfwOpenWindow(desktop.Width, desktop.Height, 8, 8, 8, 8, 24, 8, GLFW_FULLSCREEN);
        glfwSetKeyCallback(recordKey);
        glfwSetMousePosCallback(recordMousePosition);
    }
}

TEST_F(WindowLifetimeTest, ReopeningInsideAKeyCallbackDropsTheOldWindowsQueuedEvents) {
    glfwSetKeyCallback(reopenWindowOnF1);
    // No poll runs while xdotool types, so all its events arrive in one poll.
    ASSERT_TRUE(runXdotool("key F1 a b"));

    ASSERT_TRUE(swapUntil([] { return !eventRecorder().keys.empty(); }));
    swapFor(0.3);
    EXPECT_EQ(eventRecorder().keys, (std::vector<KeyEvent>{{GLFW_KEY_F1, GLFW_PRESS}}));
    EXPECT_EQ(glfwGetKey('A'), GLFW_RELEASE);

    int width = 0;
    int height = 0;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);

    // The new window takes keys and hands them to the callback registered on it.
    ASSERT_TRUE(swapUntil([] { return findWindowByTitle("GLFW Window") != 0; }));
    ASSERT_TRUE(runXdotool("key c"));
    ASSERT_TRUE(swapUntil([] { return eventRecorder().keys.size() >= 3; }));
    EXPECT_EQ(recordedPresses(), (std::vector<int>{GLFW_KEY_F1, 'C'}));
}

TEST_F(WindowLifetimeTest, FullScreenOpenedInsideAKeyCallbackHoldsTheCursor) {
    glfwSetKeyCallback(reopenFullScreenOnF1);
    ASSERT_TRUE(runXdotool("key F1"));
    ASSERT_TRUE(swapUntil([] { return !eventRecorder().mousePositions.empty(); }));
    swapFor(0.2);

    ASSERT_TRUE(runXdotool("mousemove_relative -- 10 5"));
    ASSERT_TRUE(swapUntil([] { return eventRecorder().mousePositions.size() >= 2; }));
    swapFor(0.2);
    EXPECT_EQ(eventRecorder().mousePositions, (std::vector<MousePosition>{{0, 0}, {10, 5}}));
    EXPECT_TRUE(eventRecorder().keys.empty()) << "the F1 release belonged to the old window";
}

TEST_F(WindowLifetimeTest, NewWindowHasNoCallbacksAndEveryKeyReleased) {
    registerRecordingCallbacks();
    ASSERT_TRUE(runXdotool("keydown w"));
    const bool pressed = swapUntil([] { return glfwGetKey('W') == GLFW_PRESS; });
    const int openResult = openPlainWindow();
    const int stateAfterOpen = glfwGetKey('W');
    ASSERT_TRUE(runXdotool("keyup w"));
    ASSERT_TRUE(pressed);
    ASSERT_EQ(openResult, 1);
    EXPECT_EQ(stateAfterOpen, GLFW_RELEASE);

    resetEventRecorder();
    ASSERT_TRUE(swapUntil([] { return findWindowByTitle("GLFW Window") != 0; }));
    ASSERT_TRUE(runXdotool("key x"));
    swapFor(0.5);
    EXPECT_TRUE(eventRecorder().keys.empty()) << "the old window's key callback was kept";
    EXPECT_TRUE(eventRecorder().mousePositions.empty());

    // Keys do arrive; only the callback is gone.
    glfwSetKeyCallback(recordKey);
    ASSERT_TRUE(runXdotool("key y"));
    EXPECT_TRUE(swapUntil([] { return !recordedPresses().empty(); }));
    EXPECT_EQ(recordedPresses(), std::vector<int>{'Y'});
}

TEST_F(WindowLifetimeTest, NewWindowCarriesTheDefaultTitle) {
    ASSERT_EQ(openPlainWindow(), 1);

    EXPECT_TRUE(swapUntil([] { return findWindowByTitle("GLFW Window") != 0; }));
    EXPECT_EQ(findWindowByTitle(title()), 0UL) << "the old window is still on the display";
}

TEST_F(WindowLifetimeTest, ClosingRemovesTheWindow) {
    glfwCloseWindow();

    int width = -1;
    int height = -1;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_TRUE(swapUntil([this] { return findWindowByTitle(title()) == 0; }));
}

TEST_F(WindowLifetimeTest, DesktopModeIsTheScreensSize) {
    GLFWvidmode desktop{};
    glfwGetDesktopMode(&desktop);
    const ScreenSize screen = defaultScreenSize();

    EXPECT_EQ(desktop.Width, screen.width);
    EXPECT_EQ(desktop.Height, screen.height);
    EXPECT_GT(desktop.RedBits, 0);
    EXPECT_GT(desktop.GreenBits, 0);
    EXPECT_GT(desktop.BlueBits, 0);
}

TEST_F(WindowLifetimeTest, FullScreenOpensAtTheDesktopSizeWithTheCursorHeld) {
    GLFWvidmode desktop{};
    glfwGetDesktopMode(&desktop);
    ASSERT_NO_FATAL_FAILURE(openTestWindow(desktop.Width, desktop.Height, GLFW_FULLSCREEN));

    int width = 0;
    int height = 0;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, desktop.Width);
    EXPECT_EQ(height, desktop.Height);

    glfwSetMousePosCallback(recordMousePosition);
    ASSERT_TRUE(runXdotool("mousemove_relative -- 10 5"));
    ASSERT_TRUE(swapUntil([] { return eventRecorder().mousePositions.size() >= 2; }));
    EXPECT_EQ(eventRecorder().mousePositions, (std::vector<MousePosition>{{0, 0}, {10, 5}}));
}

TEST_F(WindowLifetimeTest, ClockAdvances) {
    const double before = glfwGetTime();
    swapFor(0.05);
    EXPECT_GT(glfwGetTime(), before);
}

}  // namespace
