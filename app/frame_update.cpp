// The per-frame half of the viewer: smoothing the camera towards its target and rendering.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "app/viewer_app.h"
#include "engine/h3dut.h"

namespace {

// The current pose covers this many times the frame time of the remaining way per frame.
const float kPositionFollowRate = 16.0f;
const float kRotationFollowRate = 24.0f;

// The status line in the top-left corner: character height and corner as fractions of the
// viewport, and a one-pixel-ish dark shadow that keeps it readable over bright scenery.
const float kStatusTextSize = 0.03f;
const float kStatusTextX = 0.01f;
const float kStatusTextY = 0.012f;
const float kStatusShadowOffset = 0.0015f;

const float kBlurPerDegree = 0.0125f;
const float kRollPerDegree = 0.25f;

// A fraction above 2 would throw the pose further past the target every frame (below 8 or
// 12 frames per second), and a negative one would push it away; such frames, and a frame rate
// that is not positive (-0.0 included) or not a number, jump straight to the target instead,
// so the camera can never run away.
float smoothingFactor(float followRate, float frameRate) {
    if (!(frameRate > 0.0f)) {
        return 1.0f;
    }
    const float factor = followRate / frameRate;
    return factor <= 2.0f ? factor : 1.0f;
}

// Truncates toward zero; values beyond the 32-bit range are pinned to it so that a runaway
// coordinate still prints.
long long truncatedForDisplay(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    const float limited = std::clamp(value, static_cast<float>(INT32_MIN), 2147483520.0f);
    return static_cast<int32_t>(limited);
}

}  // namespace

void ViewerApp::renderFrame(float newFrameRate) {
    frameRate = newFrameRate;
    composeStatusLine();
    if (scene_ != nullptr) {
        scene_->update(statusLine);
    }

    const float positionFactor = smoothingFactor(kPositionFollowRate, frameRate);
    const float rotationFactor = smoothingFactor(kRotationFollowRate, frameRate);

    curX = curX + (targetX - curX) * positionFactor;
    curY = curY + (targetY - curY) * positionFactor;
    curZ = curZ + (targetZ - curZ) * positionFactor;

    // Both differences are taken before the turn: the roll and the blur show the whole turn
    // still outstanding at the start of this frame.
    const float pitchDifference = targetPitch - curPitch;
    yawDifference = targetYaw - curYaw;
    curPitch = curPitch + pitchDifference * rotationFactor;
    curYaw = curYaw + yawDifference * rotationFactor;

    const float blurStrength = yawDifference * kBlurPerDegree;
    const float roll = yawDifference * kRollPerDegree;
    h3dSetMaterialUniform(postMaterial, "blurDir", blurStrength, 0, 0, 0);
    h3dSetNodeTransform(cameraNode, curX, curY, curZ, curPitch, curYaw, roll, 1, 1, 1);
    showStatusLine();

    h3dRender(cameraNode);
    h3dFinalizeFrame();
    h3dClearOverlays();
    h3dutDumpMessages();
}

void ViewerApp::composeStatusLine() {
    // Formatted into a fixed buffer and assigned, so the string's storage is reused every frame.
    char text[160];
    std::snprintf(text, sizeof text, "%s(F3) FPS: %lld CAM: x: %lld y: %lld z: %lld",
                  pipelineName.c_str(), truncatedForDisplay(frameRate), truncatedForDisplay(curX),
                  truncatedForDisplay(curY), truncatedForDisplay(curZ));
    statusLine = text;
}

void ViewerApp::showStatusLine() {
    h3dutShowText(statusLine.c_str(), kStatusTextX + kStatusShadowOffset,
                  kStatusTextY + kStatusShadowOffset, kStatusTextSize, 0, 0, 0, fontMaterial);
    h3dutShowText(statusLine.c_str(), kStatusTextX, kStatusTextY, kStatusTextSize, 1, 1, 1,
                  fontMaterial);
}
