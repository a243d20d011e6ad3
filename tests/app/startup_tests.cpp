// ViewerApp construction, engine start-up and viewport set-up against the recording engine.
#include <gtest/gtest.h>

#include "app/key_codes.h"
#include "app/viewer_app.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"

namespace {

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { resetRecordingEngine(); }
};

std::vector<std::string> engineCallNames() {
    return loggedNames();
}

TEST(ViewerAppConstruction, ContentPathIsTheDirectoryFollowedByData) {
    EXPECT_EQ(ViewerApp("").contentPath, "/data");
    EXPECT_EQ(ViewerApp("/opt/viewer/bin/").contentPath, "/opt/viewer/bin//data");
    EXPECT_EQ(ViewerApp("C:\\Games\\viewer\\").contentPath, "C:\\Games\\viewer\\/data");
    EXPECT_EQ(ViewerApp("relative").contentPath, "relative/data");
}

TEST(ViewerAppConstruction, StartsAtRestWithNoKeyHeld) {
    resetRecordingEngine();
    ViewerApp app("/x/");
    EXPECT_TRUE(callLog().empty()) << "construction makes no engine call";
    for (int code = 0; code < ViewerApp::kKeyCount; ++code) {
        EXPECT_FALSE(app.keyDown[code]);
        EXPECT_FALSE(app.keyDownBefore[code]);
    }
    EXPECT_EQ(app.frameRate, 0.0f);
    EXPECT_EQ(app.moveSpeed, 16.0f);
    EXPECT_TRUE(app.pipelineName.empty());
    EXPECT_TRUE(app.statusLine.empty());
    for (float value : {app.curX, app.curY, app.curZ, app.curPitch, app.curYaw, app.targetX,
                        app.targetY, app.targetZ, app.targetPitch, app.targetYaw}) {
        EXPECT_EQ(value, 0.0f);
    }
}

TEST_F(StartupTest, InitializeMakesTheEngineCallsInOrder) {
    ViewerApp app("/opt/viewer/");
    ASSERT_TRUE(app.initialize());

    const std::vector<std::string> expected = {
        "h3dInit",          "h3dSetOption",   "h3dSetOption",
        "h3dSetOption",     "h3dSetOption",   "h3dSetOption",
        "h3dAddResource",   "h3dAddResource", "h3dAddResource",
        "h3dAddResource",   "h3dAddResource", "h3dAddResource",
        "h3dAddResource",   "h3dAddResource", "h3dutLoadResourcesFromDisk",
        "h3dAddCameraNode", "h3dAddNodes",    "h3dSetNodeTransform",
    };
    EXPECT_EQ(engineCallNames(), expected);
}

TEST_F(StartupTest, InitializeSetsTheFiveOptionsInOrder) {
    ViewerApp app("");
    app.initialize();
    const std::vector<RecordedCall> options = callsNamed("h3dSetOption");
    const std::vector<std::vector<double>> expected = {
        {7, 1.0}, {5, 0.0}, {8, 0.0}, {4, 16.0}, {9, 256.0}};
    ASSERT_EQ(options.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(options[i].values, expected[i]) << "option call " << i;
    }
}

TEST_F(StartupTest, InitializeDeclaresTheEightResourcesAndStoresTheirHandles) {
    ViewerApp app("");
    app.initialize();
    const std::vector<RecordedCall> resources = callsNamed("h3dAddResource");
    const std::vector<std::pair<int, std::string>> expected = {
        {9, "simple.pipeline.xml"}, {9, "master.pipeline.xml"},     {1, "hebe.scene.xml"},
        {1, "glue.scene.xml"},      {1, "skybox.scene.xml"},        {1, "neuro2.scene.xml"},
        {4, "font.material.xml"},   {4, "postprocess.material.xml"}};
    ASSERT_EQ(resources.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(resources[i].values, (std::vector<double>{double(expected[i].first), 0.0}));
        EXPECT_EQ(resources[i].text, expected[i].second);
    }
    // The fake hands out 10, 11, ... in declaration order.
    EXPECT_EQ(app.simplePipeline, 10);
    EXPECT_EQ(app.masterPipeline, 11);
    EXPECT_EQ(app.postMaterial, 17);
    EXPECT_EQ(app.fontMaterial, 16);
}

TEST_F(StartupTest, InitializeLoadsFromTheContentPathAndBuildsTheScene) {
    ViewerApp app("/opt/viewer/bin/");
    app.initialize();

    EXPECT_EQ(callsNamed("h3dutLoadResourcesFromDisk").at(0).text, "/opt/viewer/bin//data");

    const RecordedCall camera = callsNamed("h3dAddCameraNode").at(0);
    EXPECT_EQ(camera.text, "Camera");
    EXPECT_EQ(camera.values, (std::vector<double>{H3DRootNode, double(app.masterPipeline)}));
    EXPECT_EQ(app.cameraNode, 100);
    EXPECT_EQ(app.pipelineName, "master");

    const int worldScene = 15;  // the sixth resource declared
    EXPECT_EQ(callsNamed("h3dAddNodes").at(0).values,
              (std::vector<double>{H3DRootNode, double(worldScene)}));
    EXPECT_EQ(callsNamed("h3dSetNodeTransform").at(0).values,
              (std::vector<double>{101, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
}

TEST_F(StartupTest, FailedStartDumpsMessagesAndChangesNothing) {
    recordingEngine().initSucceeds = false;
    ViewerApp app("/x/");
    app.simplePipeline = 3;
    app.masterPipeline = 4;
    app.cameraNode = 5;
    app.postMaterial = 6;
    app.pipelineName = "simple";
    app.targetYaw = 12.0f;

    EXPECT_FALSE(app.initialize());
    EXPECT_EQ(engineCallNames(), (std::vector<std::string>{"h3dInit", "h3dutDumpMessages"}));
    EXPECT_EQ(app.simplePipeline, 3);
    EXPECT_EQ(app.masterPipeline, 4);
    EXPECT_EQ(app.cameraNode, 5);
    EXPECT_EQ(app.postMaterial, 6);
    EXPECT_EQ(app.pipelineName, "simple");
    EXPECT_EQ(app.targetYaw, 12.0f);
    EXPECT_EQ(app.contentPath, "/x//data");
}

TEST_F(StartupTest, SecondInitializeReplacesHandlesAndKeepsThePose) {
    ViewerApp app("");
    app.initialize();
    app.pipelineName = "simple";
    app.curX = 4.0f;
    app.targetYaw = 33.0f;
    app.keyDown[viewer_keys::kW] = true;

    ASSERT_TRUE(app.initialize());
    EXPECT_EQ(app.simplePipeline, 18);
    EXPECT_EQ(app.masterPipeline, 19);
    EXPECT_EQ(app.postMaterial, 25);
    EXPECT_EQ(app.cameraNode, 102);
    EXPECT_EQ(app.pipelineName, "master");
    EXPECT_EQ(app.curX, 4.0f);
    EXPECT_EQ(app.targetYaw, 33.0f);
    EXPECT_TRUE(app.keyDown[viewer_keys::kW]);
}

struct ViewportCase {
    int width;
    int height;
    float aspect;
};

class ResizeViewportTest : public StartupTest,
                           public ::testing::WithParamInterface<ViewportCase> {};

TEST_P(ResizeViewportTest, SizesViewportProjectionAndBothPipelines) {
    const ViewportCase size = GetParam();
    ViewerApp app("");
    app.initialize();
    clearCallLog();

    app.resizeViewport(size.width, size.height);

    const double camera = app.cameraNode;
    const std::vector<std::vector<double>> params = {{camera, 609, 0},
                                                     {camera, 610, 0},
                                                     {camera, 611, double(size.width)},
                                                     {camera, 612, double(size.height)},
                                                     {camera, 614, 0}};
    const std::vector<RecordedCall> calls = callLog();
    ASSERT_EQ(calls.size(), 8u);
    for (size_t i = 0; i < params.size(); ++i) {
        EXPECT_EQ(calls[i].name, "h3dSetNodeParamI");
        EXPECT_EQ(calls[i].values, params[i]);
    }
    EXPECT_EQ(calls[5].name, "h3dSetupCameraView");
    EXPECT_EQ(calls[5].values, (std::vector<double>{camera, 70.0f, size.aspect, 0.1f, 1000.0f}));
    EXPECT_EQ(calls[6].name, "h3dResizePipelineBuffers");
    EXPECT_EQ(calls[6].values, (std::vector<double>{double(app.simplePipeline), double(size.width),
                                                    double(size.height)}));
    EXPECT_EQ(calls[7].name, "h3dResizePipelineBuffers");
    EXPECT_EQ(calls[7].values, (std::vector<double>{double(app.masterPipeline), double(size.width),
                                                    double(size.height)}));
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, ResizeViewportTest,
                         ::testing::Values(ViewportCase{1366, 768, 1.7786459f},
                                           ViewportCase{1920, 1080, 1.7777778f},
                                           ViewportCase{1280, 1024, 1.25f}));

}  // namespace
