// Start-up, the frame loop's run, the failure notice and the shutdown of the viewer process.
#include <cstdio>

#include "app/viewer_app.h"
#include "engine/h3d.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

const double kNoticeSeconds = 5.0;

}  // namespace

// Shown when the engine cannot start: a small window with the explanation as its title,
// held for five seconds, then the same words on standard output.
int showFailureNotice() {
    glfwCloseWindow();
    glfwOpenWindow(800, 16, 8, 8, 8, 8, 24, 8, GLFW_WINDOW);
    glfwSetWindowTitle(
        "Unable to initalize engine - Make sure you have an OpenGL 2.0 compatible graphics card");

    const double noticeStart = glfwGetTime();
    while (glfwGetTime() - noticeStart < kNoticeSeconds) {
    }

    std::fputs("Unable to initalize engine\n", stdout);
    std::fflush(stdout);
    std::fputs("Make sure you have an OpenGL 2.0 compatible graphics card", stdout);
    glfwTerminate();
    return -1;
}

// The engine goes before the application object, whose handles name engine objects.
void shutDown() {
    glfwEnable(GLFW_MOUSE_CURSOR);
    h3dRelease();
    delete gApp;
    gApp = nullptr;
    glfwTerminate();
}

int runViewer(int argc, char** argv) {
    const char* programPath = argc > 0 ? argv[0] : nullptr;

    glfwInit();
    if (!openAppWindow(kWindowWidth, kWindowHeight, gFullscreen)) {
        return -1;
    }
    gApp = new ViewerApp(findContentHome(programPath));
    if (!gFullscreen) {
        glfwSetWindowTitle("Window Test");
    }
    if (!gApp->initialize()) {
        return showFailureNotice();
    }
    return flyUntilQuit();
}

int flyUntilQuit() {
    gApp->resizeViewport(gWindowedWidth, gWindowedHeight);
    // Hidden and held: from now on the mouse reports unbounded relative positions.
    glfwDisable(GLFW_MOUSE_CURSOR);

    gFpsClock = glfwGetTime();
    gRunning = true;
    runFrameLoop();

    shutDown();
    return 0;
}
