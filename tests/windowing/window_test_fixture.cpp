#include "tests/windowing/window_test_fixture.h"

#include <chrono>
#include <thread>

#include "tests/windowing/event_recorder.h"
#include "tests/windowing/x_display_driver.h"
#include "windowing/glfw2.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string runningTestName();

}  // namespace

void WindowTest::SetUp() {
    if (!hasDisplay()) {
        GTEST_SKIP() << "no X display (DISPLAY is unset)";
    }
    ASSERT_TRUE(retryWhileDisplayRefuses([] { return glfwInit() == 1; }));
    resetEventRecorder();
    title_ = runningTestName();
    ASSERT_NO_FATAL_FAILURE(openTestWindow(kWindowWidth, kWindowHeight, GLFW_WINDOW));
}

void WindowTest::TearDown() {
    glfwTerminate();
}

void WindowTest::openTestWindow(int width, int height, int mode) {
    ASSERT_EQ(glfwOpenWindow(width, height, 8, 8, 8, 8, 24, 8, mode), 1);
    glfwSetWindowTitle(title_.c_str());
    ASSERT_TRUE(swapUntil([this] {
        xWindow_ = findWindowByTitle(title_);
        return xWindow_ != 0;
    })) << "the window never appeared on the display";
}

bool WindowTest::swapUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (Clock::now() < deadline) {
        glfwSwapBuffers();
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

void WindowTest::swapFor(double seconds) {
    swapUntil([] { return false; }, seconds);
}

namespace {

std::string runningTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("windowing ") + test->test_suite_name() + " " + test->name();
}

}  // namespace
