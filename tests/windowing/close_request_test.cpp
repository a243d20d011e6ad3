// A close request from the window manager goes to the window-close callback, whose answer
// decides whether the window stays.
#include <gtest/gtest.h>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/window_test_fixture.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

class CloseRequestTest : public WindowTest {
  protected:
    static bool windowIsOpen() {
        int width = 0;
        int height = 0;
        glfwGetWindowSize(&width, &height);
        return width > 0 && height > 0;
    }

    bool windowIsOnDisplay() const { return findWindowByTitle(title()) != 0; }
};

TEST_F(CloseRequestTest, CallbackAnsweringZeroKeepsTheWindowOpen) {
    registerRecordingCallbacks();
    eventRecorder().closeRequestResult = 0;

    ASSERT_TRUE(requestWindowClose(xWindow()));
    ASSERT_TRUE(swapUntil([] { return eventRecorder().closeRequests == 1; }));
    swapFor(0.2);
    EXPECT_TRUE(windowIsOpen());
    EXPECT_TRUE(windowIsOnDisplay());

    ASSERT_TRUE(requestWindowClose(xWindow()));
    ASSERT_TRUE(swapUntil([] { return eventRecorder().closeRequests == 2; }));
    swapFor(0.2);
    EXPECT_TRUE(windowIsOpen());
    EXPECT_TRUE(windowIsOnDisplay());
}

TEST_F(CloseRequestTest, CallbackAnsweringNonZeroClosesTheWindow) {
    registerRecordingCallbacks();
    eventRecorder().closeRequestResult = 1;

    ASSERT_TRUE(requestWindowClose(xWindow()));
    ASSERT_TRUE(swapUntil([] { return !windowIsOpen(); }));
    EXPECT_EQ(eventRecorder().closeRequests, 1);
    EXPECT_TRUE(swapUntil([this] { return !windowIsOnDisplay(); }));
}

TEST_F(CloseRequestTest, WithoutCallbackTheWindowCloses) {
    ASSERT_TRUE(requestWindowClose(xWindow()));

    ASSERT_TRUE(swapUntil([] { return !windowIsOpen(); }));
    EXPECT_TRUE(swapUntil([this] { return !windowIsOnDisplay(); }));
}

}  // namespace
