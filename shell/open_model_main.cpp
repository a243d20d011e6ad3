// Start-up of open-model: the argument is checked before any window opens, and a file that
// does not load closes the window again; from then on it is the viewer's life.
#include <cstdio>
#include <optional>
#include <string>

#include "app/model_file.h"
#include "app/model_scene.h"
#include "app/viewer_app.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

const char* const kUsage =
    "usage: open-model FILE  (glTF 2.0 (.glb, .gltf), .obj, .stl, .ply, .fbx, .dae, .3ds, .off "
    "or .3mf)";

int refuse(const std::string& reason) {
    std::fprintf(stderr, "open-model: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int runOpenModel(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 1;
    }
    const std::string path = argv[1];
    if (const std::optional<std::string> fault = modelFileFault(path)) {
        return refuse(*fault);
    }

    glfwInit();
    if (!openAppWindow(kWindowWidth, kWindowHeight, gFullscreen)) {
        return refuse("cannot open a window for '" + path + "' (is a display reachable?)");
    }
    const ModelFile model = locateModelFile(path);
    // The scene outlives the application object, which the shell frees at shutdown.
    ModelScene scene(model, [] { return glfwGetTime(); });
    auto* app = new ViewerApp(extractAppDir(argv[0]), &scene);
    gApp = app;
    glfwSetWindowTitle((model.displayName + " - open-model").c_str());
    if (!app->initialize()) {
        return showFailureNotice();
    }
    if (!scene.loadFault().empty()) {
        const std::string fault = scene.loadFault();
        shutDown();
        return refuse(fault);
    }
    std::printf("%s\n", scene.summaryLine().c_str());
    std::fflush(stdout);
    return flyUntilQuit();
}
