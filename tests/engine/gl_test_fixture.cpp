#include "gl_test_fixture.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>

// epoxy must come before any other OpenGL header; GLFW then adds only its own declarations.
#include <epoxy/gl.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "app/viewer_app.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "test_support.h"

namespace {

// GLFW starts once per test program: connecting to the display for every test made the
// X server refuse a connection now and then under load.
class GlfwEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            return;
        }
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            started = glfwInit() == GLFW_TRUE;
            if (!started) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
        }
        glfwSetErrorCallback([](int code, const char* description) {
            ADD_FAILURE() << "GLFW error " << code << ": " << description;
        });
    }
    void TearDown() override {
        if (started) {
            glfwTerminate();
        }
    }

    bool started = false;
};

GlfwEnvironment* const glfwEnvironment =
    static_cast<GlfwEnvironment*>(::testing::AddGlobalTestEnvironment(new GlfwEnvironment));

}  // namespace

bool displayAvailable() {
    return std::getenv("DISPLAY") != nullptr;
}

bool glfwStarted() {
    return glfwEnvironment->started;
}

HiddenWindow::HiddenWindow(int width, int height) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    window_ = glfwCreateWindow(width, height, "engine test", nullptr, nullptr);
    if (window_ != nullptr) {
        glfwMakeContextCurrent(window_);
    }
}

HiddenWindow::~HiddenWindow() {
    if (window_ != nullptr) {
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(window_);
    }
}

void EngineGlTest::SetUp() {
    if (!displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    ASSERT_TRUE(glfwStarted()) << "GLFW cannot start on this display";
    window_ = std::make_unique<HiddenWindow>(kWidth, kHeight);
    ASSERT_TRUE(window_->open()) << "no OpenGL window";
    takeMessages();
    ASSERT_TRUE(h3dInit()) << joined(takeMessages());
    // Notes about the driver (anisotropic filtering left off on a software rasterizer) are not
    // what the tests look for.
    driverNoteCount_ = takeMessages().size();
}

void EngineGlTest::TearDown() {
    h3dRelease();
    window_.reset();
    takeMessages();
}

void EngineGlTest::reopenWindow() {
    h3dRelease();
    window_.reset();
    window_ = std::make_unique<HiddenWindow>(kWidth, kHeight);
    ASSERT_TRUE(window_->open());
}

void EngineGlTest::reopenWindowAndEngine(int width, int height) {
    h3dRelease();
    window_.reset();
    window_ = std::make_unique<HiddenWindow>(width, height);
    ASSERT_TRUE(window_->open());
    ASSERT_TRUE(h3dInit()) << joined(takeMessages());
    takeMessages();
}

void EngineGlTest::loadViewerContent() {
    // The viewer's own start-up declares and loads the content; the engine starts anew for it.
    // Its camera and world instance go again, so that each test places what it looks at.
    h3dRelease();
    // The viewer finds its content in "<program directory>/data".
    const std::string directory = placeholderContentDirectory();
    const std::string dataSuffix = "/data";
    ASSERT_EQ(directory.substr(directory.size() - dataSuffix.size()), dataSuffix);
    ViewerApp app(directory.substr(0, directory.size() - dataSuffix.size()));
    ASSERT_TRUE(app.initialize()) << joined(takeMessages());
    // The restarted engine's driver notes come first, as when the test started.
    int level = 0;
    for (std::size_t note = 0; note < driverNoteCount_; ++note) {
        h3dGetMessage(&level);
    }
    while (H3DNode child = h3dGetNodeChild(H3DRootNode, 0)) {
        h3dRemoveNode(child);
    }
    simplePipeline = app.simplePipeline;
    masterPipeline = app.masterPipeline;
    postMaterial = app.postMaterial;
    neuroScene = h3dFindResource(H3DResTypes::SceneGraph, "neuro2.scene.xml");
}

std::array<int, 4> pixelAt(int x, int y) {
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::array<int, 4> storedColor(float r, float g, float b, float a) {
    auto byte = [](float channel) { return static_cast<int>(std::lround(channel * 255.0f)); };
    return {byte(r), byte(g), byte(b), byte(a)};
}

std::string describe(const std::array<int, 4>& color) {
    return "(" + std::to_string(color[0]) + ", " + std::to_string(color[1]) + ", " +
           std::to_string(color[2]) + ", " + std::to_string(color[3]) + ")";
}

bool sameColor(const std::array<int, 4>& actual, const std::array<int, 4>& expected) {
    for (std::size_t channel = 0; channel < 4; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > 1) {
            return false;
        }
    }
    return true;
}
