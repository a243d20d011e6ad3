// The per-frame camera smoothing, roll, blur and status line against the recording engine.
#include <gtest/gtest.h>

#include <cmath>

#include "app/viewer_app.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"

namespace {

class FrameUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRecordingEngine();
        app.initialize();
        clearCallLog();
    }

    RecordedCall lastCall(const std::string& name) { return callsNamed(name).back(); }

    ViewerApp app{"/v/"};
};

TEST_F(FrameUpdateTest, FactorsAtTheFourReferenceRates) {
    // 16 frames per second covers the whole distance, 32 half of it.
    app.targetX = 10.0f;
    app.targetY = -6.0f;
    app.renderFrame(16.0f);
    EXPECT_EQ(app.curX, 10.0f);
    EXPECT_EQ(app.curY, -6.0f);
    app.targetZ = 8.0f;
    app.renderFrame(32.0f);
    EXPECT_EQ(app.curZ, 4.0f);

    // 24 frames per second turns the whole way, 48 half of it.
    app.targetYaw = 20.0f;
    app.targetPitch = -40.0f;
    app.renderFrame(24.0f);
    EXPECT_EQ(app.curYaw, 20.0f);
    EXPECT_EQ(app.curPitch, -40.0f);
    app.targetYaw = 30.0f;
    app.renderFrame(48.0f);
    EXPECT_EQ(app.curYaw, 25.0f);
    EXPECT_EQ(app.frameRate, 48.0f);
}

TEST_F(FrameUpdateTest, OutstandingYawGivesBlurAndRollTakenBeforeTheTurn) {
    app.targetYaw = 10.0f;
    app.renderFrame(24.0f);

    const RecordedCall blur = lastCall("h3dSetMaterialUniform");
    EXPECT_EQ(blur.text, "blurDir");
    EXPECT_EQ(blur.values, (std::vector<double>{double(app.postMaterial), 0.125f, 0, 0, 0}));

    const RecordedCall transform = lastCall("h3dSetNodeTransform");
    // The yaw has been reached this frame, yet the roll shows the whole difference.
    EXPECT_EQ(transform.values,
              (std::vector<double>{double(app.cameraNode), 0, 0, 0, 0, 10.0f, 2.5f, 1, 1, 1}));
    EXPECT_EQ(app.yawDifference, 10.0f);
}

TEST_F(FrameUpdateTest, NoBlurAndNoRollOnceTheYawIsReached) {
    app.curYaw = app.targetYaw = 37.0f;
    app.targetPitch = 45.0f;
    app.renderFrame(60.0f);

    EXPECT_EQ(lastCall("h3dSetMaterialUniform").values[1], 0.0);
    EXPECT_EQ(lastCall("h3dSetNodeTransform").values[6], 0.0);
    EXPECT_GT(app.curPitch, 0.0f);
}

TEST_F(FrameUpdateTest, SwingsPastTheTargetWithShrinkingAmplitudeBetween8And16) {
    app.targetX = 10.0f;
    app.renderFrame(10.0f);  // factor 1.6
    EXPECT_EQ(app.curX, 16.0f);
    float previousOffset = 6.0f;
    for (int frame = 0; frame < 12; ++frame) {
        app.renderFrame(10.0f);  // factor 1.6
        const float offset = app.curX - app.targetX;
        EXPECT_LT(offset * previousOffset, 0.0f) << "alternate sides, frame " << frame;
        EXPECT_LT(std::fabs(offset), std::fabs(previousOffset)) << "shrinks, frame " << frame;
        previousOffset = offset;
    }
}

TEST_F(FrameUpdateTest, AngleSwingsBetween12And24) {
    app.targetYaw = 10.0f;
    app.renderFrame(16.0f);  // rotation factor 1.5
    EXPECT_EQ(app.curYaw, 15.0f);
    app.renderFrame(16.0f);
    EXPECT_EQ(app.curYaw, 7.5f);
}

TEST_F(FrameUpdateTest, LowFrameRatesCannotMakeThePoseDiverge) {
    app.targetX = 10.0f;
    app.targetYaw = 90.0f;
    app.targetPitch = 30.0f;
    for (float rate : {7.9f, 5.0f, 1.0f, 0.0f}) {
        app.renderFrame(rate);
        EXPECT_TRUE(std::isfinite(app.curX)) << rate;
        EXPECT_LE(std::fabs(app.curX - app.targetX), 10.0f) << rate;
        EXPECT_LE(std::fabs(app.curYaw - app.targetYaw), 90.0f) << rate;
    }
    EXPECT_EQ(app.curX, 10.0f);
    EXPECT_EQ(app.curYaw, 90.0f);
    EXPECT_EQ(app.curPitch, 30.0f);

    // A rate that is not positive, or not a number, reaches the target in that frame.
    for (float rate : {-0.0f, -30.0f, -1e30f, -INFINITY, NAN}) {
        app.targetX += 5.0f;
        app.targetYaw -= 45.0f;
        app.targetPitch = -app.targetPitch;
        app.renderFrame(rate);
        EXPECT_EQ(app.curX, app.targetX) << rate;
        EXPECT_EQ(app.curYaw, app.targetYaw) << rate;
        EXPECT_EQ(app.curPitch, app.targetPitch) << rate;
    }
}

TEST_F(FrameUpdateTest, ExactlyEightStillSwingsAtTheFullFactorOfTwo) {
    app.targetX = 1.0f;
    app.renderFrame(8.0f);
    EXPECT_EQ(app.curX, 2.0f);
}

TEST_F(FrameUpdateTest, EngineCallsOfOneFrameInOrder) {
    app.renderFrame(30.0f);
    const std::vector<std::string> expected = {
        "h3dSetMaterialUniform", "h3dSetNodeTransform", "h3dutShowText",
        "h3dutShowText",         "h3dRender",           "h3dFinalizeFrame",
        "h3dClearOverlays",      "h3dutDumpMessages"};
    EXPECT_EQ(loggedNames(), expected);
    EXPECT_EQ(lastCall("h3dRender").values, (std::vector<double>{double(app.cameraNode)}));
}

TEST_F(FrameUpdateTest, StatusLineOfTheFirstFrame) {
    app.renderFrame(30.0f);
    EXPECT_EQ(app.statusLine, "master(F3) FPS: 30 CAM: x: 0 y: 0 z: 0");
}

TEST_F(FrameUpdateTest, StatusLineIsShownInTheTopLeftCornerOverAShadow) {
    app.renderFrame(30.0f);
    const std::vector<RecordedCall> texts = callsNamed("h3dutShowText");
    ASSERT_EQ(texts.size(), 2u);
    for (const RecordedCall& text : texts) {
        EXPECT_EQ(text.text, app.statusLine);
        EXPECT_EQ(text.values.back(), app.fontMaterial);
        EXPECT_LT(text.values[0], 0.05) << "left edge";
        EXPECT_LT(text.values[1], 0.05) << "top edge";
    }
    EXPECT_EQ(texts[0].values[3], 0.0) << "the shadow is dark and drawn first";
    EXPECT_EQ(texts[1].values[3], 1.0) << "the text is white";
    EXPECT_GT(texts[0].values[0], texts[1].values[0]);
}

TEST_F(FrameUpdateTest, StatusLineTruncatesTowardZero) {
    app.curX = app.targetX = -0.5f;
    app.curY = app.targetY = -3.7f;
    app.curZ = app.targetZ = 1234.9f;
    app.pipelineName = "simple";
    app.renderFrame(59.9f);
    EXPECT_EQ(app.statusLine, "simple(F3) FPS: 59 CAM: x: 0 y: -3 z: 1234");
}

TEST_F(FrameUpdateTest, StatusLineShowsThePositionBeforeSmoothing) {
    app.targetX = 100.0f;
    app.renderFrame(32.0f);
    EXPECT_EQ(app.statusLine, "master(F3) FPS: 32 CAM: x: 0 y: 0 z: 0");
    app.renderFrame(32.0f);
    EXPECT_EQ(app.statusLine, "master(F3) FPS: 32 CAM: x: 50 y: 0 z: 0");
}

TEST_F(FrameUpdateTest, StatusLineSurvivesValuesBeyondTheIntegerRange) {
    app.curX = app.targetX = 1e20f;
    app.curY = app.targetY = -1e20f;
    app.renderFrame(std::nanf(""));
    EXPECT_EQ(app.statusLine.rfind("master(F3) FPS: 0 CAM: x: ", 0), 0u) << app.statusLine;
}

}  // namespace
