// The key and mouse callbacks, and the F1 switch between windowed and full-screen mode.
#include <cstdlib>

#include "app/viewer_app.h"
#include "engine/h3d.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

// Rebuilds window, engine and scene in the other mode; the ViewerApp, and with it the camera
// pose and the key states, carries over.
void toggleWindowMode() {
    gRebuildingWindow = true;

    // The engine goes while its OpenGL context still exists.
    h3dRelease();
    glfwCloseWindow();
    gFullscreen = !gFullscreen;

    int newWidth = gWindowedWidth;
    int newHeight = gWindowedHeight;
    if (gFullscreen) {
        GLFWvidmode desktop;
        glfwGetDesktopMode(&desktop);
        newWidth = desktop.Width;
        newHeight = desktop.Height;
    }

    if (!openAppWindow(newWidth, newHeight, gFullscreen)) {
        glfwTerminate();
        std::exit(-1);
    }
    gApp->initialize();
    gApp->resizeViewport(newWidth, newHeight);
    gFpsClock = glfwGetTime();
    gRebuildingWindow = false;
    gMouseRebasePending = true;
}

}  // namespace

void onKeyEvent(int key, int action) {
    if (!gRunning || action != GLFW_PRESS) {
        return;
    }
    if (key == GLFW_KEY_ESC) {
        gRunning = false;
    } else if (key == GLFW_KEY_F1) {
        toggleWindowMode();
    }
}

void onMouseMove(int x, int y) {
    // Reports made while the window is rebuilt (the old window's centre, the new window's
    // origin) and the first one from the new window are jumps between coordinate systems,
    // not motion: they only set the position that later motion is measured from.
    const bool isMotion = gRunning && !gRebuildingWindow && !gMouseRebasePending;
    if (!gRebuildingWindow) {
        gMouseRebasePending = false;
    }
    if (isMotion) {
        const int dx = x - gLastMouseX;
        const int dy = gLastMouseY - y;
        gApp->applyMouseMotion(static_cast<float>(dx), static_cast<float>(dy));
    }
    gLastMouseX = x;
    gLastMouseY = y;
}
