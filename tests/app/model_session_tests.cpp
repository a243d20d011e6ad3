// open-model's controls against the recording engine: Tab and a drag move the camera's target
// round the framed model, R brings back the framing, F5 loads the file under a fresh name and a
// failed load keeps the model on screen, PageDown shows the next file, --up turns the model,
// and screenshots take the first free number.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/key_codes.h"
#include "app/model_scene.h"
#include "app/model_session.h"
#include "app/viewer_app.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"

namespace {

class ModelSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRecordingEngine();
        ASSERT_TRUE(app.initialize());
    }

    std::vector<std::string> declaredGeometry() const {
        std::vector<std::string> names;
        for (const RecordedCall& call : callsNamed("h3dAddResource")) {
            if (call.values.at(0) == H3DResTypes::Geometry) {
                names.push_back(call.text);
            }
        }
        return names;
    }

    ModelFile robot{"robot.glb", "/home/me", "models/robot.glb"};
    ModelScene scene{robot, [] { return 0.0; }};
    ViewerApp app{"", &scene};
};

}  // namespace

TEST_F(ModelSessionTest, TabAndADragTurnTheTargetRoundTheModelAndRBringsBackTheFraming) {
    ModelSession session(app, scene, {"/home/me/models/robot.glb"});
    session.resetView();
    EXPECT_FALSE(session.moveMouse(10.0f, 0.0f)) << "in flight the viewer turns";

    ASSERT_TRUE(session.pressKey(viewer_keys::kTab));
    EXPECT_TRUE(session.orbiting());
    session.pressMouseButton(0, true);
    EXPECT_TRUE(session.moveMouse(200.0f, 0.0f));
    const Point3 centre = scene.framedCentre();
    const float distance =
        std::hypot(app.targetX - centre.x, app.targetY - centre.y, app.targetZ - centre.z);
    EXPECT_NEAR(distance, std::fabs(centre.z), 1e-3f) << "the camera stays as far from the model";
    EXPECT_NE(app.targetYaw, 0.0f);
    EXPECT_LT(app.targetX, 0.0f);

    session.pressMouseButton(0, false);
    EXPECT_TRUE(session.pressKey(viewer_keys::kR));
    EXPECT_EQ(app.targetX, 0.0f);
    EXPECT_EQ(app.targetZ, 0.0f);
    EXPECT_EQ(app.targetYaw, 0.0f);
    EXPECT_FALSE(session.pressKey('W')) << "the viewer's keys stay the viewer's";
}

TEST_F(ModelSessionTest, F5LoadsTheFileAgainUnderAFreshNameAndReplacesTheModel) {
    ModelSession session(app, scene, {"/home/me/models/robot.glb"});
    const H3DNode before = scene.modelNode;
    clearCallLog();
    ASSERT_TRUE(session.pressKey(viewer_keys::kF5));
    EXPECT_EQ(declaredGeometry(), (std::vector<std::string>{"models/./robot.glb"}));
    EXPECT_EQ(callsNamed("h3dutLoadResourcesFromDisk").at(0).text, "/home/me");
    const std::vector<RecordedCall> removed = callsNamed("h3dRemoveNode");
    ASSERT_EQ(removed.size(), 4u) << "the model and its three lights";
    EXPECT_EQ(removed.back().values[0], before);
    EXPECT_NE(scene.modelNode, before);
    EXPECT_TRUE(scene.reloadFault().empty());

    clearCallLog();
    session.pressKey(viewer_keys::kF5);
    EXPECT_EQ(declaredGeometry(), (std::vector<std::string>{"models/././robot.glb"}));
}

TEST_F(ModelSessionTest, AFailedReloadKeepsTheModelAndShowsTheFaultUntilALoadSucceeds) {
    ModelSession session(app, scene, {"/home/me/models/robot.glb"});
    const H3DNode shown = scene.modelNode;
    recordingEngine().resourcesLoad = false;
    const std::string fault = "cannot load geometry 'models/./robot.glb': the chunk is cut short";
    recordingEngine().messages = {{1, fault}};
    clearCallLog();
    ::testing::internal::CaptureStderr();
    session.pressKey(viewer_keys::kF5);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "open-model: " + fault + "\n");
    EXPECT_EQ(scene.modelNode, shown);
    EXPECT_TRUE(callsNamed("h3dRemoveNode").empty());
    EXPECT_EQ(scene.reloadFault(), fault);

    app.renderFrame(30.0f);
    EXPECT_NE(app.statusLine.find("RELOAD FAILED: " + fault), std::string::npos) << app.statusLine;

    recordingEngine().resourcesLoad = true;
    session.pressKey(viewer_keys::kF5);
    EXPECT_TRUE(scene.reloadFault().empty());
    app.renderFrame(30.0f);
    EXPECT_EQ(app.statusLine.find("RELOAD FAILED"), std::string::npos);
}

TEST_F(ModelSessionTest, PageDownShowsTheNextFileFramedAfreshAndPageUpGoesBack) {
    ModelSession session(app, scene, {"/home/me/models/robot.glb", "/home/me/parts/gear.glb"});
    app.targetX = 5.0f;
    clearCallLog();
    ASSERT_TRUE(session.pressKey(viewer_keys::kPageDown));
    EXPECT_EQ(declaredGeometry(), (std::vector<std::string>{"parts/./gear.glb"}));
    EXPECT_EQ(scene.model().displayName, "gear.glb");
    EXPECT_EQ(app.targetX, 0.0f) << "framed afresh";
    app.renderFrame(30.0f);
    EXPECT_NE(app.statusLine.find("2/2"), std::string::npos) << app.statusLine;

    session.pressKey(viewer_keys::kPageDown);
    EXPECT_EQ(scene.model().displayName, "robot.glb") << "after the last, the first";
    session.pressKey(viewer_keys::kPageUp);
    EXPECT_EQ(scene.model().displayName, "gear.glb");
}

TEST_F(ModelSessionTest, ScreenshotsTakeTheFirstNumberNotYetTaken) {
    ModelSession session(app, scene, {"/home/me/models/robot.glb"});
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "model_session_screenshots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    EXPECT_EQ(session.screenshotName(folder.string()), "robot-1.png");
    std::ofstream(folder / "robot-1.png") << "taken";
    EXPECT_EQ(session.screenshotName(folder.string()), "robot-2.png");
    std::filesystem::remove_all(folder);
}

TEST(ModelSceneUpAxisTest, AZUpFileIsTurnedUprightBeforeItsBoxIsMeasured) {
    resetRecordingEngine();
    ModelScene scene(ModelFile{"scan.glb", "/home/me", "scans/scan.glb"}, [] { return 0.0; });
    scene.setUpAxis(UpAxis::PlusZ);
    ViewerApp app("", &scene);
    ASSERT_TRUE(app.initialize());
    const std::vector<std::string> order = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dSetNodeTransform" || call.name == "h3dGetNodeAABB";
    });
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], "h3dSetNodeTransform");
    EXPECT_EQ(order[1], "h3dGetNodeAABB");
    const std::vector<RecordedCall> transforms = callsNamed("h3dSetNodeTransform");
    for (int which : {0, 1}) {
        EXPECT_EQ(transforms[which].values[4], -90.0) << "a quarter turn about x, +Z to +Y";
        EXPECT_EQ(transforms[which].values[5], 0.0);
        EXPECT_EQ(transforms[which].values[6], 0.0);
    }
}
