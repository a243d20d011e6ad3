// The free-flight controls: F3, W, S, A, D and mouse turns, against the recording engine.
#include <gtest/gtest.h>

#include <cmath>

#include "app/key_codes.h"
#include "app/viewer_app.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"

namespace {

class FlightControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRecordingEngine();
        app.initialize();
        app.frameRate = 16.0f;  // a step of exactly 1 scene unit
        clearCallLog();
    }

    // One pass of the frame loop's key sampling, with the given keys down.
    void samplePass(std::initializer_list<int> keysDown) {
        for (int code = 0; code < ViewerApp::kKeyCount; ++code) {
            app.keyDownBefore[code] = app.keyDown[code];
            app.keyDown[code] = false;
        }
        for (int key : keysDown) {
            app.keyDown[key] = true;
        }
        app.applyKeyStates();
    }

    int cameraPipeline() { return recordingEngine().nodeParams[{app.cameraNode, 600}]; }

    ViewerApp app{"/v/"};
};

TEST_F(FlightControlsTest, HeldF3SwitchesOnceAndASecondPressSwitchesBack) {
    for (int pass = 0; pass < 10; ++pass) {
        samplePass({viewer_keys::kF3});
    }
    EXPECT_EQ(cameraPipeline(), app.simplePipeline);
    EXPECT_EQ(app.pipelineName, "simple");
    EXPECT_EQ(callsNamed("h3dSetNodeParamI").size(), 1u);

    samplePass({});
    samplePass({viewer_keys::kF3});
    EXPECT_EQ(cameraPipeline(), app.masterPipeline);
    EXPECT_EQ(app.pipelineName, "master");
    EXPECT_EQ(callsNamed("h3dGetNodeParamI").at(0).values,
              (std::vector<double>{double(app.cameraNode), 600}));
}

TEST_F(FlightControlsTest, AnUnknownPipelineSwitchesToSimple) {
    recordingEngine().nodeParams[{app.cameraNode, 600}] = 0;
    samplePass({viewer_keys::kF3});
    EXPECT_EQ(cameraPipeline(), app.simplePipeline);
}

TEST_F(FlightControlsTest, ForwardAtLevelFlightMovesAlongMinusZ) {
    samplePass({viewer_keys::kW});
    EXPECT_EQ(app.targetX, 0.0f);
    EXPECT_EQ(app.targetY, 0.0f);
    EXPECT_EQ(app.targetZ, -1.0f);
}

TEST_F(FlightControlsTest, ForwardFollowsTheYaw) {
    app.targetYaw = 90.0f;  // looking along -x
    samplePass({viewer_keys::kW});
    EXPECT_EQ(app.targetX, -1.0f);
    EXPECT_NEAR(app.targetZ, 0.0f, 1e-6f);
}

TEST_F(FlightControlsTest, ForwardAtPitch90Climbs) {
    app.targetPitch = 90.0f;
    samplePass({viewer_keys::kW});
    EXPECT_EQ(app.targetY, 1.0f);
    EXPECT_NEAR(app.targetX, 0.0f, 1e-6f);
    EXPECT_NEAR(app.targetZ, 0.0f, 1e-6f);
    EXPECT_NE(app.targetZ, 0.0f) << "the single-precision cosine of 90 degrees is not zero";
}

TEST_F(FlightControlsTest, BackwardReversesForward) {
    app.targetYaw = 30.0f;
    app.targetPitch = -20.0f;
    samplePass({viewer_keys::kS});
    const float yaw = 30.0f * 0.017453292f;
    const float pitch = -20.0f * -0.017453292f;
    EXPECT_EQ(app.targetX, std::sin(yaw) * std::cos(pitch) * 1.0f);
    EXPECT_EQ(app.targetY, std::sin(pitch) * 1.0f);
    EXPECT_EQ(app.targetZ, std::cos(yaw) * std::cos(pitch) * 1.0f);
}

TEST_F(FlightControlsTest, StrafingIsHorizontalAtAnyPitch) {
    for (float pitch : {0.0f, 45.0f, -90.0f}) {
        app.targetX = app.targetY = app.targetZ = 0.0f;
        app.targetPitch = pitch;
        samplePass({viewer_keys::kD});
        EXPECT_EQ(app.targetX, 1.0f) << pitch;
        EXPECT_EQ(app.targetY, 0.0f) << pitch;
        EXPECT_NEAR(app.targetZ, 0.0f, 1e-6f) << pitch;
        samplePass({});
        samplePass({viewer_keys::kA});
        EXPECT_NEAR(app.targetX, 0.0f, 1e-6f) << pitch;
        EXPECT_EQ(app.targetY, 0.0f) << pitch;
    }
}

TEST_F(FlightControlsTest, DiagonalFlightIsNotNormalised) {
    samplePass({viewer_keys::kW, viewer_keys::kD});
    EXPECT_NEAR(std::hypot(app.targetX, app.targetZ), 1.41421356f, 1e-6f);
    EXPECT_EQ(app.targetX, 1.0f);
    EXPECT_EQ(app.targetZ, -1.0f + std::cos(90.0f * 0.017453292f));
}

TEST_F(FlightControlsTest, OpposingKeysCancel) {
    app.targetYaw = 123.0f;
    app.targetPitch = 17.0f;
    samplePass({viewer_keys::kW, viewer_keys::kS});
    samplePass({viewer_keys::kA, viewer_keys::kD});
    EXPECT_NEAR(app.targetX, 0.0f, 1e-6f);
    EXPECT_NEAR(app.targetY, 0.0f, 1e-6f);
    EXPECT_NEAR(app.targetZ, 0.0f, 1e-6f);
}

TEST_F(FlightControlsTest, StepFollowsTheFrameRate) {
    app.frameRate = 60.0f;
    samplePass({viewer_keys::kW});
    EXPECT_EQ(app.targetZ, -(16.0f / 60.0f));
    EXPECT_NEAR(app.targetZ, -0.2667f, 1e-4f);
}

TEST_F(FlightControlsTest, NoFlightBeforeTheFirstFrameRate) {
    app.frameRate = 0.0f;
    samplePass({viewer_keys::kW, viewer_keys::kD, viewer_keys::kF3});
    EXPECT_EQ(app.targetX, 0.0f);
    EXPECT_EQ(app.targetZ, 0.0f);
    EXPECT_EQ(app.pipelineName, "simple") << "F3 still works";
}

TEST_F(FlightControlsTest, TheControlsNeverMoveTheCurrentPose) {
    samplePass({viewer_keys::kW, viewer_keys::kA});
    app.applyMouseMotion(40.0f, 10.0f);
    EXPECT_EQ(app.curX, 0.0f);
    EXPECT_EQ(app.curZ, 0.0f);
    EXPECT_EQ(app.curYaw, 0.0f);
    EXPECT_EQ(app.curPitch, 0.0f);
}

TEST_F(FlightControlsTest, MouseTurnsThreeTenthsOfADegreePerPixel) {
    app.applyMouseMotion(10.0f, 0.0f);
    EXPECT_EQ(app.targetYaw, -3.0f);
    app.applyMouseMotion(0.0f, 10.0f);
    EXPECT_EQ(app.targetPitch, 3.0f);
}

TEST_F(FlightControlsTest, PitchIsClampedAtNinetyBothWays) {
    app.targetPitch = 89.0f;
    app.applyMouseMotion(0.0f, 10.0f);
    EXPECT_EQ(app.targetPitch, 90.0f);
    app.targetPitch = -89.0f;
    app.applyMouseMotion(0.0f, -10.0f);
    EXPECT_EQ(app.targetPitch, -90.0f);
}

TEST_F(FlightControlsTest, YawIsNeverWrapped) {
    app.applyMouseMotion(-1200.0f, 0.0f);
    EXPECT_EQ(app.targetYaw, 360.0f);
    app.applyMouseMotion(-1200.0f, 0.0f);
    EXPECT_EQ(app.targetYaw, 720.0f);
}

}  // namespace
