// Esc, F1 and mouse motion through the shell's callbacks, and the window-mode toggle.
#include <cstdio>

#include "app/key_codes.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The names of the calls a toggle makes, from the engine release to the clock reading.
std::vector<std::string> toggleCallNames() {
    const std::vector<std::string> names = loggedNames([](const RecordedCall& call) {
        return call.name != "h3dSetOption" && call.name != "h3dAddResource" &&
               call.name != "h3dSetNodeParamI";
    });
    std::vector<std::string> toggle;
    bool inToggle = false;
    for (const std::string& name : names) {
        inToggle = inToggle || name == "h3dRelease";
        if (inToggle) {
            toggle.push_back(name);
        }
        if (inToggle && name == "glfwGetTime") {
            break;
        }
    }
    return toggle;
}

TEST_F(ShellTest, EscEndsTheProgramAndReleasesAreIgnored) {
    atSwap(1, [] { releaseKey(GLFW_KEY_ESC); });
    atSwap(2, [] { releaseKey(GLFW_KEY_F1); });
    atSwap(3, [] { pressKey(GLFW_KEY_ESC); });
    EXPECT_EQ(runViewerFrom(), 0);
    EXPECT_EQ(scriptedWindowing().swapCount, 3);
    EXPECT_EQ(countOf("h3dRelease"), 1) << "only the shutdown's";
}

TEST_F(ShellTest, F1AfterEscInTheSamePollIsIgnored) {
    atSwap(1, [] {
        pressKey(GLFW_KEY_ESC);
        pressKey(GLFW_KEY_F1);
    });
    EXPECT_EQ(runViewerFrom(), 0);
    EXPECT_EQ(countOf("h3dRelease"), 1);
    EXPECT_EQ(countOf("glfwOpenWindow"), 1);
}

TEST_F(ShellTest, ToggleToFullScreenRebuildsAtTheDesktopSize) {
    atSwap(2, [] { pressKey(GLFW_KEY_F1); });
    atSwap(5, [] { pressKey(GLFW_KEY_ESC); });
    ASSERT_EQ(runViewerFrom(), 0);

    const std::vector<std::string> expected = {"h3dRelease",
                                               "glfwCloseWindow",
                                               "glfwGetDesktopMode",
                                               "glfwOpenWindow",
                                               "glfwSwapInterval",
                                               "glfwSetWindowCloseCallback",
                                               "glfwSetKeyCallback",
                                               "glfwSetMousePosCallback",
                                               "h3dInit",
                                               "h3dutLoadResourcesFromDisk",
                                               "h3dAddCameraNode",
                                               "h3dAddNodes",
                                               "h3dSetNodeTransform",
                                               "h3dSetupCameraView",
                                               "h3dResizePipelineBuffers",
                                               "h3dResizePipelineBuffers",
                                               "glfwGetTime"};
    EXPECT_EQ(toggleCallNames(), expected);
    EXPECT_EQ(callsNamed("glfwOpenWindow").at(1).values,
              (std::vector<double>{1920, 1080, 8, 8, 8, 8, 24, 8, GLFW_FULLSCREEN}));
    EXPECT_EQ(callsNamed("h3dSetupCameraView").at(1).values[2], 1.7777778f);
    EXPECT_EQ(callsNamed("h3dResizePipelineBuffers").at(3).values[1], 1920);
    EXPECT_TRUE(gFullscreen);
    EXPECT_EQ(countOf("glfwSetWindowTitle"), 1) << "the toggle sets no title";
    EXPECT_EQ(countOf("glfwDisable"), 1) << "nor hides the cursor";
}

TEST_F(ShellTest, HeldF1TogglesOnceAndASecondPressTogglesBack) {
    scriptedWindowing().desktopMode = {1280, 1024, 8, 8, 8};
    atSwap(1, [] { pressKey(GLFW_KEY_F1); });
    atSwap(6, [] { releaseKey(GLFW_KEY_F1); });
    atSwap(7, [] { pressKey(GLFW_KEY_F1); });
    atSwap(9, [] { pressKey(GLFW_KEY_ESC); });
    ASSERT_EQ(runViewerFrom(), 0);

    const std::vector<RecordedCall> opens = callsNamed("glfwOpenWindow");
    ASSERT_EQ(opens.size(), 3u);
    EXPECT_EQ(opens[1].values,
              (std::vector<double>{1280, 1024, 8, 8, 8, 8, 24, 8, GLFW_FULLSCREEN}));
    EXPECT_EQ(opens[2].values, (std::vector<double>{1366, 768, 8, 8, 8, 8, 24, 8, GLFW_WINDOW}));
    EXPECT_EQ(callsNamed("h3dSetupCameraView").at(1).values[2], 1.25f);
    EXPECT_EQ(callsNamed("h3dSetupCameraView").at(2).values[2], 1.7786459f);
    EXPECT_EQ(countOf("glfwGetDesktopMode"), 1) << "windowed mode needs no desktop mode";
    EXPECT_FALSE(gFullscreen);
}

TEST_F(ShellTest, TheToggleKeepsPoseKeysAndAppAndRestartsTheClock) {
    scriptedWindowing().secondsPerSwap = 0.1;
    const ViewerApp* appBefore = nullptr;
    float yawBefore = 0.0f;
    float curXBefore = 0.0f;
    atSwap(4, [] { moveMouseTo(-20, 0); });  // hidden cursor: relative, turns 6 degrees left
    atSwap(5, [] { pressKey(viewer_keys::kW); });
    atSwap(6, [&] {
        appBefore = gApp;
        yawBefore = gApp->targetYaw;
        curXBefore = gApp->curX;
        pressKey(GLFW_KEY_F1);
    });
    double clockAfterToggle = -1.0;
    bool wHeldAfter = false;
    float curXAfter = 0.0f;
    atSwap(6, [&] {
        clockAfterToggle = gFpsClock;
        wHeldAfter = gApp->keyDown[viewer_keys::kW];
        curXAfter = gApp->curX;
    });
    ViewerApp* appAfter = nullptr;
    float yawAfter = 0.0f;
    atSwap(7, [&] {
        appAfter = gApp;
        yawAfter = gApp->targetYaw;
        pressKey(GLFW_KEY_ESC);
    });
    ASSERT_EQ(runViewerFrom(), 0);

    EXPECT_EQ(appAfter, appBefore);
    EXPECT_EQ(yawBefore, 6.0f);
    EXPECT_EQ(yawAfter, yawBefore) << "the rebuild's position reports do not turn the camera";
    EXPECT_EQ(curXAfter, curXBefore);
    EXPECT_TRUE(wHeldAfter) << "the rebuild leaves the key states as sampled";
    EXPECT_DOUBLE_EQ(clockAfterToggle, 0.6) << "the clock restarts at the toggle";
}

TEST_F(ShellTest, TheNextMeasurementDividesByTheTimeSinceTheToggle) {
    scriptedWindowing().secondsPerSwap = 0.1;
    std::vector<float> rates;
    onEveryRender([&rates](const ViewerApp& app) { rates.push_back(app.frameRate); });
    atSwap(4, [] { pressKey(GLFW_KEY_F1); });
    scriptedWindowing().closeRequestAtSwap = 7;
    ASSERT_EQ(runViewerFrom(), 0);
    // Passes 1-2 at 30, pass 3 measures 0.2 s; the toggle in swap 4 restarts the clock at 0.4,
    // and the counter reaches 3 again in pass 6, 0.1 s after it.
    ASSERT_EQ(rates.size(), 7u);
    EXPECT_EQ(rates[5], 3.0f / static_cast<float>(0.5 - 0.4));
}

TEST_F(ShellTest, MouseMotionTurnsTheTarget) {
    float yaw = 0.0f;
    float pitch = 0.0f;
    atSwap(2, [] { moveMouseTo(100, 50); });
    atSwap(3, [] { moveMouseTo(110, 55); });  // 10 right, 5 lower
    atSwap(3, [&] {
        yaw = gApp->targetYaw;
        pitch = gApp->targetPitch;
    });
    atSwap(3, [] { pressKey(GLFW_KEY_ESC); });
    runViewerFrom();
    // (100, 50) turned -30 and -15 first (y grows downwards); the second adds -3 and -1.5.
    EXPECT_EQ(yaw, -33.0f);
    EXPECT_EQ(pitch, -16.5f);
    EXPECT_EQ(gLastMouseX, 683) << "the released cursor's centre report is only recorded";
    EXPECT_EQ(gLastMouseY, 384);
}

TEST_F(ShellTest, TheRegistrationReportAtStartUpDoesNotTurnTheCamera) {
    gLastMouseX = 50;
    gLastMouseY = -40;
    float yaw = 1.0f;
    float pitch = 1.0f;
    onEveryRender([&](const ViewerApp& app) {
        yaw = app.targetYaw;
        pitch = app.targetPitch;
    });
    scriptedWindowing().closeRequestAtSwap = 1;
    runViewerFrom();
    EXPECT_EQ(yaw, 0.0f);
    EXPECT_EQ(pitch, 0.0f);
}

TEST_F(ShellTest, BackInAWindowTheFirstReportOnlySetsThePosition) {
    atSwap(1, [] { pressKey(GLFW_KEY_F1); });
    atSwap(2, [] { pressKey(GLFW_KEY_F1); });
    atSwap(3, [] { moveMouseTo(700, 400); });  // the free cursor's first, absolute report
    atSwap(4, [] { moveMouseTo(710, 400); });
    float yaw = 1.0f;
    atSwap(4, [&] { yaw = gApp->targetYaw; });
    atSwap(4, [] { pressKey(GLFW_KEY_ESC); });
    runViewerFrom();
    EXPECT_EQ(yaw, -3.0f);
}

TEST_F(ShellTest, AFailedEngineRestartKeepsTheLoopGoingUntilEsc) {
    atSwap(2, [] {
        recordingEngine().initSucceeds = false;
        pressKey(GLFW_KEY_F1);
    });
    atSwap(5, [] { pressKey(GLFW_KEY_ESC); });
    EXPECT_EQ(runViewerFrom(), 0);
    EXPECT_EQ(countOf("h3dRender"), 5) << "frames go on against the stopped engine";
    EXPECT_EQ(countOf("h3dSetupCameraView"), 2) << "the viewport is still sized";
    EXPECT_EQ(countOf("h3dRelease"), 2);
}

TEST_F(ShellTest, AWindowThatCannotReopenEndsTheProcessAtOnce) {
    auto toggleIntoAFailingOpen = [this] {
        scriptedWindowing().openResults = {true, false};
        atSwap(1, [] { pressKey(GLFW_KEY_F1); });
        onRecordedCall() = [](const std::string& name) {
            std::fprintf(stderr, "<%s>", name.c_str());
        };
        runViewerFrom();
    };
    EXPECT_EXIT(toggleIntoAFailingOpen(), ::testing::ExitedWithCode(255),
                "<h3dRelease><glfwCloseWindow><glfwGetDesktopMode><glfwOpenWindow><glfwTerminate>"
                "<glfwTerminate>$");
}

}  // namespace
