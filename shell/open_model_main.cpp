// Start-up of open-model: the command line is read and every file checked before any window
// opens; then either one picture is rendered off-screen, or the files are shown in the window.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/frame_picture.h"
#include "app/model_file.h"
#include "app/model_options.h"
#include "app/model_scene.h"
#include "app/viewer_app.h"
#include "shell/open_model.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

int refuse(const std::string& reason) {
    std::fprintf(stderr, "open-model: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int runOpenModel(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedOptions parsed = parseModelOptions(arguments);
    const ModelOptions& options = parsed.options;
    if (!parsed.fault.empty()) {
        return refuse(parsed.fault);
    }
    if (options.help) {
        std::fputs(modelHelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("open-model %s\n", VIEWER_VERSION);
        return 0;
    }
    for (const std::string& path : options.files) {
        if (const std::optional<std::string> fault = modelFileFault(path)) {
            return refuse(*fault);
        }
    }
    const std::string contentHome = findContentHome(argc > 0 ? argv[0] : nullptr);
    if (!options.outputPath.empty()) {
        return renderModelPicture(options, contentHome);
    }

    const std::string& path = options.files.front();
    gWindowedWidth = options.width;
    gWindowedHeight = options.height;
    glfwInit();
    if (!openAppWindow(gWindowedWidth, gWindowedHeight, gFullscreen)) {
        return refuse("cannot open a window for '" + path + "' (is a display reachable?)");
    }
    const ModelFile model = locateModelFile(path);
    // The scene outlives the application object, which the shell frees at shutdown.
    ModelScene scene(model, [] { return glfwGetTime(); });
    scene.setUpAxis(options.up);
    scene.setFramedAspect(static_cast<float>(options.width) / static_cast<float>(options.height));
    auto* app = new ViewerApp(contentHome, &scene);
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
    startOnPipeline(*app, options.pipeline);
    std::printf("%s\n", scene.summaryLine().c_str());
    std::fflush(stdout);
    return flyUntilQuit();
}
