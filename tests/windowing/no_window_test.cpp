// Every call is harmless before the library starts, with no window open and after it ends.
#include <gtest/gtest.h>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

// Calls every 2.x function that needs a window and checks the neutral answers.
void exerciseCallsWithoutWindow() {
    resetEventRecorder();
    registerRecordingCallbacks();
    EXPECT_TRUE(eventRecorder().mousePositions.empty()) << "no window, so no registration";

    glfwSetWindowTitle("no window");
    glfwSwapInterval(0);
    glfwSwapBuffers();
    glfwPollEvents();
    glfwEnable(GLFW_MOUSE_CURSOR);
    glfwDisable(GLFW_MOUSE_CURSOR);
    glfwCloseWindow();

    int width = -1;
    int height = -1;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    glfwGetWindowSize(nullptr, nullptr);
    glfwGetMousePos(nullptr, nullptr);
    glfwGetDesktopMode(nullptr);
    EXPECT_EQ(glfwGetKey('W'), GLFW_RELEASE);
    EXPECT_TRUE(eventRecorder().keys.empty());
}

TEST(NoWindowTest, CallsBeforeTheLibraryStartsAreHarmless) {
    exerciseCallsWithoutWindow();
    EXPECT_EQ(glfwOpenWindow(640, 480, 8, 8, 8, 8, 24, 8, GLFW_WINDOW), 0);

    GLFWvidmode desktop{1, 1, 1, 1, 1};
    glfwGetDesktopMode(&desktop);
    EXPECT_EQ(desktop.Width, 0);
    EXPECT_EQ(desktop.Height, 0);
    glfwGetTime();
    glfwTerminate();
}

TEST(NoWindowTest, CallsWithoutAnOpenWindowAreHarmless) {
    if (!hasDisplay()) {
        GTEST_SKIP() << "no X display (DISPLAY is unset)";
    }
    ASSERT_TRUE(retryWhileDisplayRefuses([] { return glfwInit() == 1; }));
    exerciseCallsWithoutWindow();
    glfwTerminate();
}

TEST(NoWindowTest, CallsAfterTheLibraryEndedAreHarmless) {
    if (!hasDisplay()) {
        GTEST_SKIP() << "no X display (DISPLAY is unset)";
    }
    ASSERT_TRUE(retryWhileDisplayRefuses([] { return glfwInit() == 1; }));
    ASSERT_EQ(glfwOpenWindow(320, 240, 8, 8, 8, 8, 24, 8, GLFW_WINDOW), 1);
    glfwTerminate();

    exerciseCallsWithoutWindow();
    glfwTerminate();
}

}  // namespace
