// Mouse positions: window coordinates with the cursor shown, unbounded relative motion while
// it is held, and the reports that registration, enabling and closing make.
#include <gtest/gtest.h>

#include <vector>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/window_test_fixture.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

class MousePositionTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!IsSkipped()) {
            registerRecordingCallbacks();
        }
    }

    // Moves the pointer inside the window and waits for its report.
    void movePointerInWindowTo(int x, int y) {
        ASSERT_TRUE(runXdotool("mousemove --window " + std::to_string(xWindow()) + " " +
                               std::to_string(x) + " " + std::to_string(y)));
        ASSERT_TRUE(swapUntil([x, y] { return lastReport() == MousePosition{x, y}; }));
    }

    // Moves the pointer by this much and waits for the first report that follows.
    void movePointerBy(int dx, int dy) {
        eventRecorder().mousePositions.clear();
        ASSERT_TRUE(
            runXdotool("mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy)));
        ASSERT_TRUE(swapUntil([] { return !eventRecorder().mousePositions.empty(); }));
    }

    static MousePosition lastReport() {
        const std::vector<MousePosition>& reports = eventRecorder().mousePositions;
        return reports.empty() ? MousePosition{-1, -1} : reports.back();
    }

    static MousePosition libraryPosition() {
        MousePosition position;
        glfwGetMousePos(&position.x, &position.y);
        return position;
    }

    static MousePosition windowCentre() { return {kWindowWidth / 2, kWindowHeight / 2}; }
};

using Positions = std::vector<MousePosition>;

TEST_F(MousePositionTest, RegistrationRightAfterOpeningReportsTheOrigin) {
    movePointerInWindowTo(50, 60);
    ASSERT_EQ(glfwOpenWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW), 1);
    resetEventRecorder();

    glfwSetMousePosCallback(recordMousePosition);

    EXPECT_EQ(eventRecorder().mousePositions, (Positions{{0, 0}}));
    EXPECT_EQ(libraryPosition(), (MousePosition{0, 0}));
}

TEST_F(MousePositionTest, RegistrationReportsTheCurrentPosition) {
    movePointerInWindowTo(70, 80);
    resetEventRecorder();

    glfwSetMousePosCallback(recordMousePosition);

    EXPECT_EQ(eventRecorder().mousePositions, (Positions{{70, 80}}));
}

TEST_F(MousePositionTest, ShownCursorReportsWindowCoordinates) {
    movePointerInWindowTo(100, 120);
    movePointerInWindowTo(300, 20);

    EXPECT_EQ(libraryPosition(), (MousePosition{300, 20}));
}

TEST_F(MousePositionTest, HeldCursorAddsEachMoveToThePositionWithoutAJump) {
    movePointerInWindowTo(100, 120);
    eventRecorder().mousePositions.clear();

    glfwDisable(GLFW_MOUSE_CURSOR);
    swapFor(0.3);
    EXPECT_EQ(eventRecorder().mousePositions, Positions{}) << "disabling is not motion";

    movePointerBy(10, 5);
    EXPECT_EQ(eventRecorder().mousePositions, (Positions{{110, 125}}));
    movePointerBy(-3, 7);
    EXPECT_EQ(eventRecorder().mousePositions, (Positions{{107, 132}}));
    EXPECT_EQ(libraryPosition(), (MousePosition{107, 132}));
}

TEST_F(MousePositionTest, HeldCursorPositionIsUnbounded) {
    glfwDisable(GLFW_MOUSE_CURSOR);
    const MousePosition start = libraryPosition();

    for (int move = 0; move < 4; ++move) {
        movePointerBy(250, -200);
    }

    EXPECT_EQ(libraryPosition(), (MousePosition{start.x + 1000, start.y - 800}));
}

TEST_F(MousePositionTest, EnablingPutsTheCursorAtTheCentreAndReportsIt) {
    glfwDisable(GLFW_MOUSE_CURSOR);
    movePointerBy(40, 30);
    // Moved once more with no poll since, so the cursor is off the centre when enabled.
    ASSERT_TRUE(runXdotool("mousemove_relative -- 20 20"));
    eventRecorder().mousePositions.clear();

    glfwEnable(GLFW_MOUSE_CURSOR);
    EXPECT_EQ(eventRecorder().mousePositions, Positions{windowCentre()});

    // A move from there ends next to the centre, so the real cursor was put there.
    swapFor(0.2);
    movePointerBy(5, 6);
    EXPECT_EQ(lastReport(), (MousePosition{windowCentre().x + 5, windowCentre().y + 6}));
}

TEST_F(MousePositionTest, EnablingAShownCursorReportsNothing) {
    movePointerInWindowTo(100, 120);
    eventRecorder().mousePositions.clear();

    glfwEnable(GLFW_MOUSE_CURSOR);

    EXPECT_EQ(eventRecorder().mousePositions, Positions{});
}

TEST_F(MousePositionTest, ClosingTheWindowShowsAHeldCursorWithACentreReport) {
    glfwDisable(GLFW_MOUSE_CURSOR);
    movePointerBy(40, 30);
    eventRecorder().mousePositions.clear();

    glfwCloseWindow();

    EXPECT_EQ(eventRecorder().mousePositions, Positions{windowCentre()});
}

}  // namespace
