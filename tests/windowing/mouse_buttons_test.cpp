// Mouse buttons and the wheel as 2.x delivers them: left is button 0 and right button 1, each
// press and release once; the wheel reports its position, the sum of its steps. And the
// off-screen context, which opens without any window.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/windowing/window_test_fixture.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

std::vector<std::pair<int, int>>& buttonReports() {
    static std::vector<std::pair<int, int>> reports;
    return reports;
}

std::vector<int>& wheelReports() {
    static std::vector<int> reports;
    return reports;
}

void recordButton(int button, int action) {
    buttonReports().emplace_back(button, action);
}

void recordWheel(int position) {
    wheelReports().push_back(position);
}

class MouseButtonsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        buttonReports().clear();
        wheelReports().clear();
        glfwSetMouseButtonCallback(recordButton);
        glfwSetMouseWheelCallback(recordWheel);
        ASSERT_TRUE(runXdotool("mousemove --window " + std::to_string(xWindow()) + " 100 100"));
    }
};

}  // namespace

TEST_F(MouseButtonsTest, LeftAndRightPressAndReleaseOnceEach) {
    ASSERT_TRUE(runXdotool("mousedown 1"));
    ASSERT_TRUE(swapUntil([] { return buttonReports().size() == 1; }));
    EXPECT_EQ(glfwGetMouseButton(GLFW_MOUSE_BUTTON_LEFT), GLFW_PRESS);
    ASSERT_TRUE(runXdotool("mouseup 1 click 3"));
    ASSERT_TRUE(swapUntil([] { return buttonReports().size() == 4; }));
    EXPECT_EQ(buttonReports(),
              (std::vector<std::pair<int, int>>{{GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS},
                                                {GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE},
                                                {GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS},
                                                {GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE}}));
    EXPECT_EQ(glfwGetMouseButton(GLFW_MOUSE_BUTTON_LEFT), GLFW_RELEASE);
}

TEST_F(MouseButtonsTest, TheWheelReportsItsPositionStepByStep) {
    ASSERT_TRUE(runXdotool("click 4 click 4 click 5 click 5 click 5"));
    ASSERT_TRUE(swapUntil([] { return wheelReports().size() == 5; }));
    EXPECT_EQ(wheelReports(), (std::vector<int>{1, 2, 1, 0, -1}));
    EXPECT_EQ(glfwGetMouseWheel(), -1);
    EXPECT_TRUE(buttonReports().empty()) << "wheel steps are no button presses";
}

// Needs no display: with DISPLAY unset glfwInit finds none, and the context still opens.
TEST(OffscreenContextTest, OpensWithoutAWindowAtTheRequestedSize) {
    glfwInit();
    ASSERT_EQ(glfwOpenWindow(96, 64, 8, 8, 8, 8, 24, 8, GLFW_OFFSCREEN), 1);
    int width = 0;
    int height = 0;
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 64);
    glfwCloseWindow();
    glfwGetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    glfwTerminate();
}
