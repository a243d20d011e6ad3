// How the engine scales with the number of nodes: for each count N, a scene of N small cube
// models (one material, a wall ahead of the camera) is loaded and drawn through the shipped
// "simple" pipeline in a 1366 by 768 window, and the same cubes merged into one mesh of one
// model for comparison. Prints the time to the first frame and the median and 99th percentile
// frame times.
//
// Usage: scale_benchmark [N ...]   (default: 100 1000 10000 30000), on a display.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <glm/gtc/matrix_transform.hpp>

#include "content/gen/gltf_writer.h"
#include "content/gen/mesh_builder.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const int kWidth = 1366;
const int kHeight = 768;
const int kMeasuredFrames = 60;
const float kCubeHalfSide = 0.15f;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Where the i-th of count cubes stands: a square grid 40 units wide, 30 units ahead.
glm::vec3 cubePosition(int index, int count) {
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const float spacing = 40.0f / static_cast<float>(side);
    return glm::vec3(-20.0f + spacing * static_cast<float>(index % side),
                     -20.0f + spacing * static_cast<float>(index / side), -30.0f);
}

std::string glb(const std::vector<content::NamedMesh>& meshes) {
    const std::vector<std::uint8_t> bytes = content::encodeGlb(meshes);
    return std::string(bytes.begin(), bytes.end());
}

// The content directory of one run: the shipped pipeline and shaders beside a cube, its
// material, the scene of separate models and the scene of one merged model.
void writeContent(const fs::path& directory, const fs::path& shipped, int count) {
    fs::create_directories(directory);
    for (const char* name : {"simple.pipeline.xml", "model.shader", "overlay.shader", "glia.png"}) {
        fs::copy_file(shipped / name, directory / name, fs::copy_options::overwrite_existing);
    }
    writeFile(directory / "cube.material.xml",
              "<material shader=\"model.shader\"><texture sampler=\"albedoMap\" file=\"glia.png\"/>"
              "<uniform name=\"albedoColor\" value=\"0.8 0.7 0.6\"/>"
              "<uniform name=\"specular\" value=\"0.2 12\"/>"
              "<uniform name=\"emission\" value=\"0.05 0.05 0.05\"/></material>");
    const content::Mesh cube = content::box(glm::vec3(kCubeHalfSide));
    writeFile(directory / "cube.glb", glb({{"cube", cube}}));

    std::string models =
        "<scene><light name=\"lamp\" translation=\"0 0 -5\" color=\"2 2 2\" "
        "radius=\"80\"/>";
    content::Mesh merged;
    for (int index = 0; index < count; ++index) {
        const glm::vec3 at = cubePosition(index, count);
        models +=
            "<model name=\"c\" geometry=\"cube.glb\" material=\"cube.material.xml\" "
            "translation=\"" +
            std::to_string(at.x) + " " + std::to_string(at.y) + " " + std::to_string(at.z) + "\"/>";
        merged.append(content::transformed(cube, glm::translate(glm::mat4(1.0f), at)));
    }
    writeFile(directory / "models.scene.xml", models + "</scene>");
    writeFile(directory / "merged.glb", glb({{"merged", merged}}));
    writeFile(directory / "merged.scene.xml",
              "<scene><light name=\"lamp\" translation=\"0 0 -5\" color=\"2 2 2\" radius=\"80\"/>"
              "<model name=\"all\" geometry=\"merged.glb\" material=\"cube.material.xml\"/>"
              "</scene>");
}

struct Figures {
    double firstFrameSeconds = 0.0;
    double medianMilliseconds = 0.0;
    double percentile99Milliseconds = 0.0;
    double drawCalls = 0.0;
};

void renderFrame(H3DNode camera) {
    h3dRender(camera);
    h3dFinalizeFrame();
    h3dClearOverlays();
    glfwSwapBuffers();
}

// Starts the engine, loads the scene and draws frames; the engine is released afterwards.
Figures measure(const fs::path& directory, const char* sceneFile) {
    const Clock::time_point start = Clock::now();
    Figures figures;
    if (!h3dInit()) {
        std::fprintf(stderr, "scale_benchmark: the engine did not start\n");
        h3dutDumpMessages();
        return figures;
    }
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    const H3DRes scene = h3dAddResource(H3DResTypes::SceneGraph, sceneFile, 0);
    h3dutLoadResourcesFromDisk(directory.c_str());
    h3dAddNodes(H3DRootNode, scene);
    const H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", pipeline);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, kWidth);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, kHeight);
    h3dSetupCameraView(camera, 70.0f, static_cast<float>(kWidth) / kHeight, 0.1f, 1000.0f);
    h3dResizePipelineBuffers(pipeline, kWidth, kHeight);
    renderFrame(camera);
    glFinish();
    figures.firstFrameSeconds = secondsSince(start);
    h3dutDumpMessages();

    std::vector<double> milliseconds;
    for (int frame = 0; frame < kMeasuredFrames; ++frame) {
        // A slow sideways drift, so every frame is drawn anew.
        h3dSetNodeTransform(camera, 0.01f * static_cast<float>(frame), 0, 0, 0, 0, 0, 1, 1, 1);
        const Clock::time_point frameStart = Clock::now();
        renderFrame(camera);
        milliseconds.push_back(1000.0 * secondsSince(frameStart));
        figures.drawCalls = h3dGetStat(H3DStats::DrawCallCount);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    figures.medianMilliseconds = milliseconds[milliseconds.size() / 2];
    figures.percentile99Milliseconds = milliseconds[milliseconds.size() * 99 / 100];
    h3dRelease();
    return figures;
}

void print(const char* what, int count, const Figures& figures) {
    std::printf(
        "%6d %-8s first frame %7.3f s  frame median %7.2f ms  p99 %7.2f ms  %6.0f draw "
        "calls\n",
        count, what, figures.firstFrameSeconds, figures.medianMilliseconds,
        figures.percentile99Milliseconds, figures.drawCalls);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int index = 1; index < argc; ++index) {
        counts.push_back(std::max(1, std::atoi(argv[index])));
    }
    if (counts.empty()) {
        counts = {100, 1000, 10000, 30000};
    }
    glfwInit();
    if (!glfwOpenWindow(kWidth, kHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW)) {
        std::fprintf(stderr, "scale_benchmark: cannot open a window\n");
        return 1;
    }
    glfwSwapInterval(0);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const fs::path shipped = fs::path(extractAppDir(argv[0]) + "/data");
    const fs::path scratch =
        fs::temp_directory_path() / ("scale_benchmark." + std::to_string(::getpid()));
    for (int count : counts) {
        const fs::path directory = scratch / std::to_string(count);
        writeContent(directory, shipped, count);
        print("models", count, measure(directory, "models.scene.xml"));
        print("merged", count, measure(directory, "merged.scene.xml"));
    }
    fs::remove_all(scratch);
    glfwTerminate();
    return 0;
}
