// Opening the viewer's window and keeping it open on a close request.
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

const int kColorBits = 8;
const int kAlphaBits = 8;
const int kDepthBits = 24;
const int kStencilBits = 8;

}  // namespace

bool openAppWindow(int width, int height, bool fullscreen) {
    const int mode = fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW;
    if (!glfwOpenWindow(width, height, kColorBits, kColorBits, kColorBits, kAlphaBits, kDepthBits,
                        kStencilBits, mode)) {
        glfwTerminate();
        return false;
    }
    // Frames are not held back to the display's refresh.
    glfwSwapInterval(0);

    // Opening a window clears every callback, so they are registered after each open.
    glfwSetWindowCloseCallback(onWindowClose);
    glfwSetKeyCallback(gInputCallbacks.key);
    glfwSetMousePosCallback(gInputCallbacks.mouseMove);
    if (gInputCallbacks.mouseButton != nullptr) {
        glfwSetMouseButtonCallback(gInputCallbacks.mouseButton);
    }
    if (gInputCallbacks.wheel != nullptr) {
        glfwSetMouseWheelCallback(gInputCallbacks.wheel);
    }
    if (gInputCallbacks.drop != nullptr) {
        glfwSetDropCallback(gInputCallbacks.drop);
    }
    return true;
}

// The window stays open: the loop finishes its pass and the orderly shutdown closes it.
int onWindowClose() {
    gRunning = false;
    return 0;
}
