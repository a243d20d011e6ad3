// The frame loop: frame-rate measurement, key sampling, controls, rendering, buffer swap.
#include "app/viewer_app.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

const int kFramesPerMeasurement = 3;
const float kStartFrameRate = 30.0f;
// A measurement this low is taken for a stall (a window being dragged, a rebuild) rather than
// the real rate.
const float kLowestBelievableFrameRate = 5.0f;

void measureFrameRate(int& frameCounter, float& measuredFrameRate) {
    ++frameCounter;
    if (frameCounter < kFramesPerMeasurement) {
        return;
    }
    const double now = glfwGetTime();
    const float elapsed = static_cast<float>(now - gFpsClock);
    measuredFrameRate = static_cast<float>(frameCounter) / elapsed;
    if (measuredFrameRate < kLowestBelievableFrameRate) {
        measuredFrameRate = kStartFrameRate;
    }
    gFpsClock = now;
    frameCounter = 0;
}

void sampleKeys(ViewerApp& app) {
    for (int code = 0; code < ViewerApp::kKeyCount; ++code) {
        app.keyDownBefore[code] = app.keyDown[code];
        app.keyDown[code] = glfwGetKey(code) == GLFW_PRESS;
    }
}

}  // namespace

void runFrameLoop() {
    int frameCounter = 0;
    float measuredFrameRate = kStartFrameRate;
    do {
        measureFrameRate(frameCounter, measuredFrameRate);
        sampleKeys(*gApp);
        gApp->applyKeyStates();
        gApp->renderFrame(measuredFrameRate);
        // The callbacks run in here; a cleared gRunning ends the loop after this pass.
        glfwSwapBuffers();
    } while (gRunning);
}
