// open-model's window: the viewer's life with open-model's own input put before the viewer's.
// Tab shows the cursor for the orbit and holds it again for the flight; F12 renders one more
// frame and writes it; a dropped file opens like one named on the command line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame_picture.h"
#include "app/key_codes.h"
#include "app/model_file.h"
#include "app/model_options.h"
#include "app/model_scene.h"
#include "app/model_session.h"
#include "app/viewer_app.h"
#include "shell/open_model.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

int refuseWindow(const std::string& reason) {
    std::fprintf(stderr, "open-model: %s\n", reason.c_str());
    return 1;
}

void showTitleOfShownFile() {
    glfwSetWindowTitle((gModelScene->model().displayName + " - open-model").c_str());
}

// The orbit drags a visible cursor in window coordinates; the flight holds it hidden. The first
// report after the switch is a jump between the two, not motion.
void followCameraMode(bool wasOrbiting) {
    if (gModelSession->orbiting() == wasOrbiting) {
        return;
    }
    if (gModelSession->orbiting()) {
        glfwEnable(GLFW_MOUSE_CURSOR);
    } else {
        glfwDisable(GLFW_MOUSE_CURSOR);
    }
    gMouseRebasePending = true;
}

void writeScreenshot() {
    const std::string folder = std::filesystem::current_path().string();
    const std::string name = gModelSession->screenshotName(folder);
    int width = 0;
    int height = 0;
    glfwGetWindowSize(&width, &height);
    // The frame shown was swapped away; the same view is rendered again into the back buffer.
    gApp->renderFrame(gApp->frameRate);
    const std::string path = (std::filesystem::path(folder) / name).string();
    if (writeFramePicture(path, width, height)) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "open-model: cannot write '%s'\n", path.c_str());
    }
}

void onModelKey(int key, int action) {
    if (gModelSession != nullptr && gRunning && action == GLFW_PRESS) {
        if (key == viewer_keys::kF12) {
            writeScreenshot();
            return;
        }
        const bool wasOrbiting = gModelSession->orbiting();
        if (gModelSession->pressKey(key)) {
            followCameraMode(wasOrbiting);
            showTitleOfShownFile();
            return;
        }
    }
    onKeyEvent(key, action);
}

void onModelMouseMove(int x, int y) {
    if (gModelSession == nullptr || !gModelSession->orbiting()) {
        onMouseMove(x, y);
        return;
    }
    const bool isMotion = gRunning && !gRebuildingWindow && !gMouseRebasePending;
    if (!gRebuildingWindow) {
        gMouseRebasePending = false;
    }
    if (isMotion) {
        gModelSession->moveMouse(static_cast<float>(x - gLastMouseX),
                                 static_cast<float>(y - gLastMouseY));
    }
    gLastMouseX = x;
    gLastMouseY = y;
}

void onModelMouseButton(int button, int action) {
    if (gModelSession != nullptr) {
        gModelSession->pressMouseButton(button, action == GLFW_PRESS);
    }
}

void onModelWheel(int position) {
    if (gModelSession != nullptr) {
        gModelSession->turnWheel(position - gModelWheelPosition);
    }
    gModelWheelPosition = position;
}

void onModelDrop(int count, const char** paths) {
    if (gModelSession == nullptr) {
        return;
    }
    const std::vector<std::string> dropped(paths, paths + count);
    if (const std::optional<std::string> fault = gModelSession->openDropped(dropped)) {
        std::fprintf(stderr, "open-model: %s\n", fault->c_str());
        return;
    }
    showTitleOfShownFile();
}

// open-model's input and controls for as long as its window lives; the viewer's afterwards.
class ModelInputInstalled {
  public:
    ModelInputInstalled() {
        gInputCallbacks.key = onModelKey;
        gInputCallbacks.mouseMove = onModelMouseMove;
        gInputCallbacks.mouseButton = onModelMouseButton;
        gInputCallbacks.wheel = onModelWheel;
        gInputCallbacks.drop = onModelDrop;
        gModelWheelPosition = 0;
    }
    ~ModelInputInstalled() {
        gInputCallbacks = InputCallbacks{};
        gModelSession = nullptr;
        gModelScene = nullptr;
    }
    ModelInputInstalled(const ModelInputInstalled&) = delete;
    ModelInputInstalled& operator=(const ModelInputInstalled&) = delete;
};

}  // namespace

ModelScene* gModelScene = nullptr;
ModelSession* gModelSession = nullptr;
int gModelWheelPosition = 0;

int showModelsInWindow(const ModelOptions& options, const std::string& contentHome) {
    const std::string& path = options.files.front();
    gWindowedWidth = options.width;
    gWindowedHeight = options.height;
    const ModelInputInstalled modelInput;
    glfwInit();
    if (!openAppWindow(gWindowedWidth, gWindowedHeight, gFullscreen)) {
        return refuseWindow("cannot open a window for '" + path + "' (is a display reachable?)");
    }
    // The scene and the session outlive the application object, which shutDown frees.
    ModelScene scene(locateModelFile(path), [] { return glfwGetTime(); });
    scene.setUpAxis(options.up);
    scene.setEnvironmentImage(options.hdriPath);
    scene.setFramedAspect(static_cast<float>(options.width) / static_cast<float>(options.height));
    scene.setWatching(options.watch);
    auto* app = new ViewerApp(contentHome, &scene);
    gApp = app;
    ModelSession session(*app, scene, options.files);
    gModelScene = &scene;
    gModelSession = &session;
    showTitleOfShownFile();
    if (!app->initialize()) {
        return showFailureNotice();
    }
    if (!scene.loadFault().empty()) {
        const std::string fault = scene.loadFault();
        shutDown();
        return refuseWindow(fault);
    }
    startOnPipeline(*app, options.pipeline);
    session.resetView();
    std::printf("%s\n", scene.summaryLine().c_str());
    std::fflush(stdout);
    return flyUntilQuit();
}
