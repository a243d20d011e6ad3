// The model benchmark's measurement: open-model's start, up to its first finished frame, on one
// file, with the peak resident memory of the viewer's process and of the import helper.
//   model_first_frame FILE
// Prints "first frame MS ms (window MS, load MS, render MS), peak memory MIB MiB, helper MIB MiB".
#include <epoxy/gl.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/model_file.h"
#include "app/model_scene.h"
#include "app/viewer_app.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's peak resident memory (VmHWM) in MiB.
double peakMebibytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_first_frame FILE\n");
        return 2;
    }
    const Clock::time_point start = Clock::now();
    glfwInit();
    if (!glfwOpenWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW)) {
        std::fprintf(stderr, "model_first_frame: cannot open a window\n");
        return 1;
    }
    glfwSwapInterval(0);
    const double window = millisecondsSince(start);
    ModelScene scene(locateModelFile(argv[1]), [] { return glfwGetTime(); });
    ViewerApp app(extractAppDir(argv[0]), &scene);
    if (!app.initialize() || !scene.loadFault().empty()) {
        std::fprintf(stderr, "model_first_frame: %s\n", scene.loadFault().c_str());
        return 1;
    }
    const double loaded = millisecondsSince(start);
    app.resizeViewport(kWindowWidth, kWindowHeight);
    app.renderFrame(30.0f);
    glfwSwapBuffers();
    glFinish();
    const double total = millisecondsSince(start);
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf(
        "%s\nfirst frame %.0f ms (window %.0f, load %.0f, render %.0f), peak memory %.0f "
        "MiB, helper %.0f MiB\n",
        scene.summaryLine().c_str(), total, window, loaded - window, total - loaded,
        peakMebibytes(), static_cast<double>(children.ru_maxrss) / 1024.0);
    return 0;
}
