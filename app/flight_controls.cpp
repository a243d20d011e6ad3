// The free-flight controls: F3 switches the pipeline, W, S, A and D fly the target position,
// the mouse turns the target yaw and pitch. They never touch the current pose.
#include <cmath>

#include "app/key_codes.h"
#include "app/viewer_app.h"

namespace {

const float kRadiansPerDegree = 0.017453292f;
const float kPitchLimit = 90.0f;

}  // namespace

void ViewerApp::applyKeyStates() {
    if (keyDown[viewer_keys::kF3] && !keyDownBefore[viewer_keys::kF3]) {
        switchPipeline();
    }
    if (scene_ != nullptr) {
        scene_->applyKeyStates(keyDown, keyDownBefore);
    }

    // Before the first frame the rate is still 0 and the step would be infinite, which would
    // lose the camera for good; no flight happens until a frame rate is known.
    if (!(frameRate > 0.0f)) {
        return;
    }
    const float step = moveSpeed / frameRate;

    if (keyDown[viewer_keys::kW]) {
        flyAlongView(1.0f, step);
    }
    if (keyDown[viewer_keys::kS]) {
        flyAlongView(-1.0f, step);
    }
    if (keyDown[viewer_keys::kA]) {
        flySideways(-90.0f, step);
    }
    if (keyDown[viewer_keys::kD]) {
        flySideways(90.0f, step);
    }
}

void ViewerApp::applyMouseMotion(float dx, float dy) {
    // 0.3 degree per pixel, computed as (pixels / 100) * 30; the yaw is never wrapped.
    targetYaw = targetYaw - dx / 100.0f * 30.0f;
    targetPitch = targetPitch + dy / 100.0f * 30.0f;
    if (targetPitch > kPitchLimit) {
        targetPitch = kPitchLimit;
    }
    if (targetPitch < -kPitchLimit) {
        targetPitch = -kPitchLimit;
    }
}

void ViewerApp::switchPipeline() {
    if (h3dGetNodeParamI(cameraNode, H3DCamera::PipeResI) == simplePipeline) {
        h3dSetNodeParamI(cameraNode, H3DCamera::PipeResI, masterPipeline);
        pipelineName = "master";
    } else {
        h3dSetNodeParamI(cameraNode, H3DCamera::PipeResI, simplePipeline);
        pipelineName = "simple";
    }
}

// Along the view direction (climbing when the pitch is positive) for a sign of 1, against it
// for -1. Negating a product is exact, so both directions round alike.
void ViewerApp::flyAlongView(float sign, float step) {
    const float yaw = targetYaw * kRadiansPerDegree;
    const float negatedPitch = targetPitch * -kRadiansPerDegree;
    const float sinYaw = std::sin(yaw);
    const float cosYaw = std::cos(yaw);
    const float sinPitch = std::sin(negatedPitch);
    const float cosPitch = std::cos(negatedPitch);
    targetX = targetX - sign * (sinYaw * cosPitch * step);
    targetY = targetY - sign * (sinPitch * step);
    targetZ = targetZ - sign * (cosYaw * cosPitch * step);
}

// Horizontal, at the full step whatever the pitch: -90 is left, +90 right.
void ViewerApp::flySideways(float yawOffset, float step) {
    const float sideYawDegrees = targetYaw + yawOffset;
    const float sideYaw = sideYawDegrees * kRadiansPerDegree;
    targetX = targetX + std::sin(sideYaw) * step;
    targetZ = targetZ + std::cos(sideYaw) * step;
}
