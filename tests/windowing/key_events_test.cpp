// Keys pressed on the display arrive as 2.x codes, once per press, and the key table follows
// the delivered events.
#include <gtest/gtest.h>

#include <vector>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/window_test_fixture.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

class KeyEventsTest : public WindowTest {};

bool hasPresses(size_t count) {
    return recordedPresses().size() >= count;
}

TEST_F(KeyEventsTest, SpecialAndPrintableKeysArriveAsLegacyCodes) {
    registerRecordingCallbacks();
    ASSERT_TRUE(runXdotool("key Escape F1 F3 w"));

    ASSERT_TRUE(swapUntil([] { return hasPresses(4); }));
    const std::vector<int> expected = {GLFW_KEY_ESC, GLFW_KEY_F1, GLFW_KEY_F3, 'W'};
    EXPECT_EQ(recordedPresses(), expected);
    EXPECT_EQ(expected, (std::vector<int>{257, 258, 260, 87}));
}

TEST_F(KeyEventsTest, ArrowModifierAndKeypadKeysArriveAsLegacyCodes) {
    registerRecordingCallbacks();
    ASSERT_TRUE(runXdotool("key Up Shift_L KP_Enter space"));

    ASSERT_TRUE(swapUntil([] { return hasPresses(4); }));
    const std::vector<int> expected = {GLFW_KEY_UP, GLFW_KEY_LSHIFT, GLFW_KEY_KP_ENTER,
                                       GLFW_KEY_SPACE};
    EXPECT_EQ(recordedPresses(), expected);
}

TEST_F(KeyEventsTest, EveryPressIsFollowedByItsRelease) {
    registerRecordingCallbacks();
    ASSERT_TRUE(runXdotool("key a b"));

    ASSERT_TRUE(swapUntil([] { return eventRecorder().keys.size() >= 4; }));
    const std::vector<KeyEvent> expected = {
        {'A', GLFW_PRESS}, {'A', GLFW_RELEASE}, {'B', GLFW_PRESS}, {'B', GLFW_RELEASE}};
    EXPECT_EQ(eventRecorder().keys, expected);
}

// Held past the display's auto-repeat delay, the key would repeat if repeats came through.
TEST_F(KeyEventsTest, HeldKeyPressesOnceAndReadsAsDownUntilReleased) {
    registerRecordingCallbacks();
    ASSERT_TRUE(runXdotool("keydown w"));
    EXPECT_EQ(glfwGetKey('W'), GLFW_RELEASE) << "no buffer swap has delivered the press yet";

    const bool pressed = swapUntil([] { return glfwGetKey('W') == GLFW_PRESS; });
    swapFor(1.5);
    const int stateWhileHeld = glfwGetKey('W');
    ASSERT_TRUE(runXdotool("keyup w"));
    ASSERT_TRUE(pressed);

    EXPECT_EQ(stateWhileHeld, GLFW_PRESS);
    EXPECT_EQ(recordedPresses(), std::vector<int>{'W'});
    ASSERT_TRUE(swapUntil([] { return glfwGetKey('W') == GLFW_RELEASE; }));
    const std::vector<KeyEvent> expected = {{'W', GLFW_PRESS}, {'W', GLFW_RELEASE}};
    EXPECT_EQ(eventRecorder().keys, expected);
}

TEST_F(KeyEventsTest, CodesOutsideTheLegacyRangeReadAsReleased) {
    ASSERT_TRUE(runXdotool("keydown Menu"));
    const bool pressed = swapUntil([] { return glfwGetKey(GLFW_KEY_MENU) == GLFW_PRESS; });
    ASSERT_TRUE(runXdotool("keyup Menu"));
    ASSERT_TRUE(pressed);

    EXPECT_EQ(glfwGetKey(-1), GLFW_RELEASE);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_LAST + 1), GLFW_RELEASE);
    EXPECT_EQ(glfwGetKey(100000), GLFW_RELEASE);
}

}  // namespace
