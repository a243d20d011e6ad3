// open-model's start: bad input ends before any window opens, a file that does not load closes
// the window it opened, and a loaded file prints its summary and runs the viewer's loop.
#include <filesystem>
#include <fstream>

#include "tests/shell/shell_fixture.h"

namespace {

class OpenModelTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("open_model_test_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(folder_);
        modelPath_ = (folder_ / "robot.glb").string();
        std::ofstream(modelPath_, std::ios::binary) << "glTF";
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        ShellTest::TearDown();
    }

    // The exit status; what went to standard output and standard error lands in the fields.
    int run(std::vector<std::string> arguments) {
        std::vector<char*> argv{const_cast<char*>("/opt/viewer/open-model")};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = runOpenModel(static_cast<int>(argv.size()), argv.data());
        output = ::testing::internal::GetCapturedStdout();
        errors = ::testing::internal::GetCapturedStderr();
        return status;
    }

    std::filesystem::path folder_;
    std::string modelPath_;
    std::string output;
    std::string errors;
};

TEST_F(OpenModelTest, BadArgumentsEndWithOneLineBeforeAnyWindow) {
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(
        errors,
        "open-model: no file named; usage: open-model [OPTIONS] FILE... (open-model --help)\n");
    EXPECT_EQ(run({modelPath_, "--resolution", "big"}), 1);
    EXPECT_EQ(errors.rfind("open-model: --resolution takes", 0), 0u) << errors;
    EXPECT_EQ(run({modelPath_, "extra"}), 1) << "every file is checked before the window opens";

    const std::string missing = (folder_ / "missing.glb").string();
    EXPECT_EQ(run({missing}), 1);
    EXPECT_EQ(errors, "open-model: cannot open '" + missing + "': no such file\n");
    EXPECT_TRUE(output.empty());
    EXPECT_TRUE(loggedNames().empty()) << "no windowing or engine call was made";
}

TEST_F(OpenModelTest, AFileThatDoesNotLoadClosesTheWindowThenSaysWhy) {
    recordingEngine().resourcesLoad = false;
    const std::string fault = "cannot load geometry '" + folder_.filename().string() +
                              "/robot.glb' from '" + modelPath_ + "': the chunk is cut short";
    recordingEngine().messages = {{2, "an unrelated warning"}, {1, fault}};
    bool windowOpenWhenReleased = true;
    onRecordedCall() = [&](const std::string& name) {
        if (name == "h3dRelease") {
            windowOpenWhenReleased = scriptedWindowing().windowOpen;
        }
    };
    EXPECT_EQ(run({modelPath_}), 1);
    EXPECT_EQ(errors, "open-model: " + fault + "\n");
    EXPECT_TRUE(output.empty());
    EXPECT_EQ(countOf("h3dRender"), 0);
    EXPECT_EQ(countOf("h3dutDumpMessages"), 0) << "the engine's messages stay unprinted";
    EXPECT_TRUE(windowOpenWhenReleased) << "the engine goes while its context exists";
    EXPECT_FALSE(scriptedWindowing().windowOpen);
    EXPECT_EQ(loggedNames().back(), "glfwTerminate");
    EXPECT_EQ(gApp, nullptr);
}

TEST_F(OpenModelTest, ALoadedFilePrintsItsSummaryAndFliesLikeTheViewer) {
    recordingEngine().resourceParams = {{H3DGeometry::MeshCountI, 1},
                                        {H3DGeometry::TriangleCountI, 2}};
    atSwap(2, requestWindowClose);
    EXPECT_EQ(run({modelPath_}), 0);
    EXPECT_EQ(output, "robot.glb: 1 mesh, 2 triangles, 0 materials, 0 textures, 0 lights\n");
    EXPECT_EQ(callsNamed("glfwSetWindowTitle").at(0).text, "robot.glb - open-model");
    EXPECT_EQ(callsNamed("glfwOpenWindow").at(0).values[0], 1366);
    EXPECT_EQ(countOf("h3dRender"), 2);
    EXPECT_EQ(callsNamed("glfwDisable").size(), 1u);
    const std::vector<std::string> names = loggedNames();
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"glfwEnable", "h3dRelease", "glfwTerminate"}));
}

TEST_F(OpenModelTest, TheSizeAndPipelineAskedForAndAFileDroppedOnTheWindow) {
    const std::string dropped = (folder_ / "gear.glb").string();
    std::ofstream(dropped, std::ios::binary) << "glTF";
    atSwap(2, [&dropped] {
        const char* paths[] = {dropped.c_str()};
        scriptedWindowing().dropCallback(1, paths);
    });
    atSwap(3, requestWindowClose);
    EXPECT_EQ(run({"--resolution", "800x600", "--pipeline", "simple", modelPath_}), 0);
    EXPECT_EQ(callsNamed("glfwOpenWindow").at(0).values,
              (std::vector<double>{800, 600, 8, 8, 8, 8, 24, 8, GLFW_WINDOW}));
    EXPECT_EQ(callsNamed("h3dSetupCameraView").at(0).values[2], 800.0f / 600.0f);
    const std::vector<RecordedCall> pipelineChoices = callsNamed("h3dSetNodeParamI");
    ASSERT_FALSE(pipelineChoices.empty());
    EXPECT_EQ(pipelineChoices.front().values[2], 10) << "the simple pipeline, declared first";

    std::vector<std::string> geometry;
    for (const RecordedCall& call : callsNamed("h3dAddResource")) {
        if (call.values.at(0) == H3DResTypes::Geometry) {
            geometry.push_back(call.text);
        }
    }
    const std::string folder = folder_.filename().string();
    EXPECT_EQ(geometry, (std::vector<std::string>{folder + "/robot.glb", folder + "/./gear.glb"}));
    EXPECT_EQ(callsNamed("glfwSetWindowTitle").back().text, "gear.glb - open-model");
}

}  // namespace
