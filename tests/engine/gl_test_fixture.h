// A hidden GLFW window with its OpenGL context current, and the engine started in it. Tests
// skip themselves when there is no display.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>

struct GLFWwindow;

class HiddenWindow {
  public:
    HiddenWindow(int width, int height);
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    bool open() const { return window_ != nullptr; }

  private:
    GLFWwindow* window_ = nullptr;
};

class EngineGlTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // Closes the window (releasing the engine first) and opens a new one with a new context.
    void reopenWindow();
    // The same with a window of this size, and starts the engine in it.
    void reopenWindowAndEngine(int width, int height);
    // Declares the viewer's eight resources and loads them from content/.
    void loadViewerContent();

    int simplePipeline = 0;
    int masterPipeline = 0;
    int postMaterial = 0;
    int neuroScene = 0;

  private:
    std::unique_ptr<HiddenWindow> window_;
    std::size_t driverNoteCount_ = 0;
};

bool displayAvailable();
// GLFW is started once for the whole test program, when there is a display.
bool glfwStarted();

// The RGBA bytes of one pixel of the framebuffer bound for reading.
std::array<int, 4> pixelAt(int x, int y);
// A clear colour as the 8-bit framebuffer stores it.
std::array<int, 4> storedColor(float r, float g, float b, float a = 1.0f);
std::string describe(const std::array<int, 4>& color);
// Each channel within one step of the other's.
bool sameColor(const std::array<int, 4>& actual, const std::array<int, 4>& expected);
