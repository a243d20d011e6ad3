// A fixture that opens a real window on the X display, named after the running test so that
// xdotool finds this window and no other.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

class WindowTest : public ::testing::Test {
  protected:
    static constexpr int kWindowWidth = 640;
    static constexpr int kWindowHeight = 480;

    void SetUp() override;
    void TearDown() override;

    // Opens a window (closing the current one) and waits until the display shows it.
    void openTestWindow(int width, int height, int mode);

    // Swaps and polls until the condition holds; false after the timeout.
    bool swapUntil(const std::function<bool()>& condition, double timeoutSeconds = 5.0);
    // Swaps and polls for this long, for checks that nothing arrives.
    void swapFor(double seconds);

    std::string title() const { return title_; }
    unsigned long xWindow() const { return xWindow_; }

  private:
    std::string title_;
    unsigned long xWindow_ = 0;
};
