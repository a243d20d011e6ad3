// open-model --output: one frame of the first file, rendered off-screen and written as PNG.
#include <cstdio>

#include "app/frame_picture.h"
#include "app/model_file.h"
#include "app/model_options.h"
#include "app/model_scene.h"
#include "app/viewer_app.h"
#include "engine/h3d.h"
#include "shell/open_model.h"
#include "windowing/glfw2.h"

namespace {

int refusePicture(const std::string& reason) {
    std::fprintf(stderr, "open-model: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int renderModelPicture(const ModelOptions& options, const std::string& contentHome) {
    const std::string& path = options.files.front();
    glfwInit();
    if (!glfwOpenWindow(options.width, options.height, 8, 8, 8, 8, 24, 8, GLFW_OFFSCREEN)) {
        glfwTerminate();
        return refusePicture("cannot render '" + path +
                             "': no off-screen OpenGL context (EGL with Mesa or a GPU driver)");
    }
    // Time stands still: the picture shows the animation at --time whatever the clock says.
    ModelScene scene(locateModelFile(path), [] { return 0.0; });
    scene.setUpAxis(options.up);
    scene.setEnvironmentImage(options.hdriPath);
    scene.setFramedAspect(static_cast<float>(options.width) / static_cast<float>(options.height));
    scene.setStartSeconds(options.seconds);
    scene.setStatusLineShown(false);
    ViewerApp app(contentHome, &scene);
    if (!app.initialize()) {
        glfwTerminate();
        return refusePicture("cannot render '" + path + "': the engine does not start");
    }
    if (!scene.loadFault().empty()) {
        h3dRelease();
        glfwTerminate();
        return refusePicture(scene.loadFault());
    }
    startOnPipeline(app, options.pipeline);
    app.resizeViewport(options.width, options.height);
    // No frame rate yet: the camera stands at its target pose from the first frame.
    app.renderFrame(0.0f);
    const bool written = writeFramePicture(options.outputPath, options.width, options.height);
    h3dRelease();
    glfwTerminate();
    if (!written) {
        return refusePicture("cannot write '" + options.outputPath + "'");
    }
    return 0;
}
