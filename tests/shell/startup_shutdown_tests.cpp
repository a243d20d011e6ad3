// The shell's start-up, failure notice and shutdown, and the program path it starts from.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "tests/shell/shell_fixture.h"

namespace {

struct AppDirCase {
    const char* path;
    const char* directory;
};

class ExtractAppDirTest : public ::testing::TestWithParam<AppDirCase> {};

TEST_P(ExtractAppDirTest, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(extractAppDir(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExtractAppDirTest,
    ::testing::Values(AppDirCase{"C:\\Games\\viewer\\viewer.exe", "C:\\Games\\viewer\\"},
                      AppDirCase{"/opt/viewer/bin/viewer", "/opt/viewer/bin/"},
                      AppDirCase{"/viewer", "/"}, AppDirCase{"C:/a\\b\\viewer.exe", "C:/"},
                      AppDirCase{"viewer.exe", ""}, AppDirCase{"", ""}, AppDirCase{nullptr, ""}));

TEST_F(ShellTest, StartsUpInOrder) {
    scriptedWindowing().closeRequestAtSwap = 1;
    ASSERT_EQ(runViewerFrom("/opt/viewer/bin/viewer"), 0);

    const std::vector<std::string> startup = {"glfwInit",           "glfwOpenWindow",
                                              "glfwSwapInterval",   "glfwSetWindowCloseCallback",
                                              "glfwSetKeyCallback", "glfwSetMousePosCallback",
                                              "glfwSetWindowTitle", "h3dInit"};
    const std::vector<std::string> names = loggedNames();
    ASSERT_GE(names.size(), startup.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + startup.size()), startup);

    EXPECT_EQ(callsNamed("glfwOpenWindow").at(0).values,
              (std::vector<double>{1366, 768, 8, 8, 8, 8, 24, 8, GLFW_WINDOW}));
    EXPECT_EQ(callsNamed("glfwSwapInterval").at(0).values, (std::vector<double>{0}));
    EXPECT_EQ(callsNamed("glfwSetWindowTitle").at(0).text, "Window Test");
    EXPECT_EQ(callsNamed("h3dutLoadResourcesFromDisk").at(0).text, "/opt/viewer/bin//data");

    // After the engine: the viewport, then the cursor is captured, then the clock is read.
    const std::vector<std::string> afterScene = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dSetupCameraView" || call.name == "glfwDisable" ||
               call.name == "glfwGetTime" || call.name == "h3dRender";
    });
    EXPECT_EQ(std::vector<std::string>(afterScene.begin(), afterScene.begin() + 4),
              (std::vector<std::string>{"h3dSetupCameraView", "glfwDisable", "glfwGetTime",
                                        "h3dRender"}));
    EXPECT_EQ(callsNamed("h3dSetupCameraView").at(0).values[2], 1.7786459f);
}

TEST_F(ShellTest, ACloseRequestEndsTheLoopAfterThePassAndShutsDownInOrder) {
    atSwap(2, requestWindowClose);
    bool appAliveAtRelease = false;
    bool appGoneAtTerminate = false;
    onRecordedCall() = [&](const std::string& name) {
        if (name == "h3dRelease") {
            appAliveAtRelease = gApp != nullptr;
        }
        if (name == "glfwTerminate") {
            appGoneAtTerminate = gApp == nullptr;
        }
    };

    EXPECT_EQ(runViewerFrom(), 0);
    EXPECT_EQ(scriptedWindowing().swapCount, 2);
    EXPECT_EQ(countOf("h3dRender"), 2);
    EXPECT_TRUE(scriptedWindowing().windowOpen == false);

    const std::vector<std::string> names = loggedNames();
    const std::vector<std::string> shutdown = {"glfwEnable", "h3dRelease", "glfwTerminate"};
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()), shutdown);
    EXPECT_EQ(callsNamed("glfwEnable").at(0).values, (std::vector<double>{GLFW_MOUSE_CURSOR}));
    EXPECT_TRUE(appAliveAtRelease);
    EXPECT_TRUE(appGoneAtTerminate);
    EXPECT_EQ(countOf("h3dRelease"), 1);
}

TEST_F(ShellTest, TheWindowStaysOpenOnACloseRequest) {
    atSwap(1, requestWindowClose);
    bool openAtShutdown = false;
    onRecordedCall() = [&](const std::string& name) {
        if (name == "glfwEnable") {
            openAtShutdown = scriptedWindowing().windowOpen;
        }
    };
    EXPECT_EQ(runViewerFrom(), 0);
    EXPECT_TRUE(openAtShutdown);
    EXPECT_EQ(countOf("glfwCloseWindow"), 0);
}

TEST_F(ShellTest, AWindowThatCannotOpenEndsWithMinusOneAndNoOutput) {
    scriptedWindowing().openResults = {false};
    ::testing::internal::CaptureStdout();
    const int status = runViewerFrom();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(status, -1);
    EXPECT_EQ(loggedNames(),
              (std::vector<std::string>{"glfwInit", "glfwOpenWindow", "glfwTerminate"}));
    EXPECT_EQ(gApp, nullptr);
}

// Bytes written to standard output so far (it is captured into a file).
long bytesOnStandardOutput() {
    std::fflush(stdout);
    struct stat status {};
    fstat(STDOUT_FILENO, &status);
    return static_cast<long>(status.st_size);
}

TEST_F(ShellTest, FailedEngineStartShowsTheNoticeForFiveSecondsThenPrints) {
    recordingEngine().initSucceeds = false;
    scriptedWindowing().secondsPerTimeRead = 0.01;
    double lastReadBeforeOutput = -1.0;
    onRecordedCall() = [&](const std::string& name) {
        if (name == "glfwGetTime" && bytesOnStandardOutput() == 0) {
            lastReadBeforeOutput = scriptedWindowing().now;
        }
    };

    ::testing::internal::CaptureStdout();
    const int status = runViewerFrom();
    const std::string output = ::testing::internal::GetCapturedStdout();
    onRecordedCall() = nullptr;

    EXPECT_EQ(status, -1);
    EXPECT_EQ(
        output,
        "Unable to initalize engine\nMake sure you have an OpenGL 2.0 compatible graphics card");
    EXPECT_GE(lastReadBeforeOutput, 5.0) << "the clock ran five seconds before any output";

    const std::vector<std::string> names =
        loggedNames([](const RecordedCall& call) { return call.name != "glfwGetTime"; });
    const std::vector<std::string> notice = {
        "h3dInit",        "h3dutDumpMessages",  "glfwCloseWindow",
        "glfwOpenWindow", "glfwSetWindowTitle", "glfwTerminate"};
    EXPECT_EQ(std::vector<std::string>(names.end() - notice.size(), names.end()), notice);
    EXPECT_EQ(callsNamed("glfwOpenWindow").back().values,
              (std::vector<double>{800, 16, 8, 8, 8, 8, 24, 8, GLFW_WINDOW}));
    EXPECT_EQ(callsNamed("glfwSetWindowTitle").back().text,
              "Unable to initalize engine - Make sure you have an OpenGL 2.0 compatible graphics "
              "card");
    EXPECT_EQ(countOf("h3dRelease"), 0);
}

}  // namespace
