// How the engine scales with what a scene holds, through the shipped "simple" pipeline in a
// 1366 by 768 window. For each node count N: N small cube models (one material) in a wall ahead
// of the camera, the same cubes merged into one mesh of one model, and N cubes of which 1% stand
// in view (the rest behind the camera). For each triangle count T: large spheres of about 20,000
// triangles each, T in all, in a wall ahead. Prints the time until the scene is loaded and its
// nodes added, the time to the first frame, the median and 99th percentile frame times, draw
// calls and triangles per frame and the peak resident memory of each, and the rate of an empty
// clear-and-swap loop in the same run. Each scene is measured in a process of its own, so that
// no scene starts with memory that the generator or an earlier scene freed.
//
// Usage: scale_benchmark [N ...] [tT ...]   (default: 1000 10000 100000 t1000000 t5000000
// t20000000), on a display.
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
// Enough frames for the 99th percentile to be a frame of its own rather than the slowest.
const int kMeasuredFrames = 300;
// Heavy scenes stop measuring after this long, with at least kFewestFrames drawn.
const double kMeasuringSeconds = 15.0;
const int kFewestFrames = 10;
const float kCubeHalfSide = 0.15f;
const int kSphereColumns = 100;
const int kSphereRows = 100;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Where the i-th of count objects stands: a square grid 40 units wide, 30 units ahead.
glm::vec3 gridPosition(int index, int count) {
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const float spacing = 40.0f / static_cast<float>(side);
    return glm::vec3(-20.0f + spacing * static_cast<float>(index % side),
                     -20.0f + spacing * static_cast<float>(index / side), -30.0f);
}

std::string glb(const std::vector<content::NamedMesh>& meshes) {
    const std::vector<std::uint8_t> bytes = content::encodeGlb(meshes);
    return std::string(bytes.begin(), bytes.end());
}

std::string modelElement(const char* geometry, const glm::vec3& at) {
    return "<model name=\"c\" geometry=\"" + std::string(geometry) +
           "\" material=\"cube.material.xml\" translation=\"" + std::to_string(at.x) + " " +
           std::to_string(at.y) + " " + std::to_string(at.z) + "\"/>";
}

const char* const kSceneStart =
    "<scene><light name=\"lamp\" translation=\"0 0 -5\" color=\"2 2 2\" radius=\"80\"/>";

// The content directory of one run: the shipped pipeline and shaders beside a cube, a sphere,
// their material and the scenes.
void writeCommonContent(const fs::path& directory, const fs::path& shipped) {
    fs::create_directories(directory);
    for (const char* name : {"simple.pipeline.xml", "model.shader", "overlay.shader", "glia.png"}) {
        fs::copy_file(shipped / name, directory / name, fs::copy_options::overwrite_existing);
    }
    writeFile(directory / "cube.material.xml",
              "<material shader=\"model.shader\"><texture sampler=\"albedoMap\" file=\"glia.png\"/>"
              "<uniform name=\"albedoColor\" value=\"0.8 0.7 0.6\"/>"
              "<uniform name=\"specular\" value=\"0.2 12\"/>"
              "<uniform name=\"emission\" value=\"0.05 0.05 0.05\"/></material>");
    writeFile(directory / "cube.glb", glb({{"cube", content::box(glm::vec3(kCubeHalfSide))}}));
    writeFile(directory / "sphere.glb",
              glb({{"sphere", content::ellipsoid(glm::vec3(1.0f), kSphereColumns, kSphereRows)}}));
}

// models-N: N cubes in view; merged-N: the same as one mesh; sparse-N: N cubes, the first 1%
// where models-(N/100) has them, the rest behind the camera.
void writeNodeScenes(const fs::path& directory, int count) {
    const content::Mesh cube = content::box(glm::vec3(kCubeHalfSide));
    std::string models = kSceneStart;
    std::string sparse = kSceneStart;
    content::Mesh merged;
    const int inView = std::max(1, count / 100);
    for (int index = 0; index < count; ++index) {
        const glm::vec3 at = gridPosition(index, count);
        models += modelElement("cube.glb", at);
        merged.append(content::transformed(cube, glm::translate(glm::mat4(1.0f), at)));
        const glm::vec3 behind(at.x, at.y, 30.0f);
        sparse += modelElement("cube.glb", index < inView ? gridPosition(index, inView) : behind);
    }
    const std::string suffix = std::to_string(count);
    writeFile(directory / ("models-" + suffix + ".scene.xml"), models + "</scene>");
    writeFile(directory / ("sparse-" + suffix + ".scene.xml"), sparse + "</scene>");
    writeFile(directory / ("merged-" + suffix + ".glb"), glb({{"merged", merged}}));
    writeFile(directory / ("merged-" + suffix + ".scene.xml"),
              std::string(kSceneStart) + "<model name=\"all\" geometry=\"merged-" + suffix +
                  ".glb\" material=\"cube.material.xml\"/></scene>");
}

int sphereTriangles() {
    return 2 * kSphereColumns * kSphereRows;
}

// spheres-T: about T triangles of spheres in a wall ahead.
void writeTriangleScene(const fs::path& directory, int triangles) {
    const int count = std::max(1, triangles / sphereTriangles());
    std::string scene = kSceneStart;
    for (int index = 0; index < count; ++index) {
        scene += modelElement("sphere.glb", gridPosition(index, count));
    }
    writeFile(directory / ("spheres-" + std::to_string(triangles) + ".scene.xml"),
              scene + "</scene>");
}

struct Figures {
    // Until the scene's resources are loaded and its nodes added.
    double loadedSeconds = 0.0;
    double firstFrameSeconds = 0.0;
    double medianMilliseconds = 0.0;
    double percentile99Milliseconds = 0.0;
    double drawCalls = 0.0;
    double triangles = 0.0;
    double peakMebibytes = 0.0;
};

void renderFrame(H3DNode camera) {
    h3dRender(camera);
    h3dFinalizeFrame();
    h3dClearOverlays();
    glfwSwapBuffers();
}

double peakMebibytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    return 0.0;
}

// Starts the engine, loads the scene and draws frames; the engine is released afterwards.
Figures measure(const fs::path& directory, const std::string& sceneFile) {
    const Clock::time_point start = Clock::now();
    Figures figures;
    if (!h3dInit()) {
        std::fprintf(stderr, "scale_benchmark: the engine did not start\n");
        h3dutDumpMessages();
        return figures;
    }
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    const H3DRes scene = h3dAddResource(H3DResTypes::SceneGraph, sceneFile.c_str(), 0);
    h3dutLoadResourcesFromDisk(directory.c_str());
    h3dAddNodes(H3DRootNode, scene);
    figures.loadedSeconds = secondsSince(start);
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
    const Clock::time_point measuring = Clock::now();
    for (int frame = 0; frame < kMeasuredFrames; ++frame) {
        if (frame >= kFewestFrames && secondsSince(measuring) > kMeasuringSeconds) {
            break;
        }
        // A slow sideways drift, so every frame is drawn anew.
        h3dSetNodeTransform(camera, 0.01f * static_cast<float>(frame), 0, 0, 0, 0, 0, 1, 1, 1);
        const Clock::time_point frameStart = Clock::now();
        renderFrame(camera);
        milliseconds.push_back(1000.0 * secondsSince(frameStart));
        figures.drawCalls = h3dGetStat(H3DStats::DrawCallCount);
        figures.triangles = h3dGetStat(H3DStats::TriangleCount);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    figures.medianMilliseconds = milliseconds[milliseconds.size() / 2];
    figures.percentile99Milliseconds = milliseconds[milliseconds.size() * 99 / 100];
    h3dRelease();
    figures.peakMebibytes = peakMebibytes();
    return figures;
}

// Frames per second of clearing the window and swapping, drawing nothing.
double emptyLoopRate() {
    std::vector<double> seconds;
    glViewport(0, 0, kWidth, kHeight);
    for (int frame = 0; frame < 300; ++frame) {
        const Clock::time_point start = Clock::now();
        glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers();
        seconds.push_back(secondsSince(start));
    }
    std::sort(seconds.begin(), seconds.end());
    return 1.0 / seconds[seconds.size() / 2];
}

void print(const std::string& scene, const Figures& figures) {
    std::printf(
        "%-16s loaded %6.3f s  first frame %6.3f s  median %8.2f ms  p99 %8.2f ms  %7.0f draws  "
        "%9.0f "
        "triangles  peak %6.0f MiB\n",
        scene.c_str(), figures.loadedSeconds, figures.firstFrameSeconds, figures.medianMilliseconds,
        figures.percentile99Milliseconds, figures.drawCalls, figures.triangles,
        figures.peakMebibytes);
    std::fflush(stdout);
}

// Opens the window and measures one scene of the directory, in this process.
int measureOne(const fs::path& directory, const std::string& name) {
    glfwInit();
    if (!glfwOpenWindow(kWidth, kHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW)) {
        std::fprintf(stderr, "scale_benchmark: cannot open a window\n");
        return 1;
    }
    glfwSwapInterval(0);
    print(name, measure(directory, name + ".scene.xml"));
    glfwTerminate();
    return 0;
}

void measureApart(const std::string& program, const fs::path& directory, const std::string& name) {
    std::fflush(stdout);
    const std::string command =
        "'" + program + "' --measure '" + directory.string() + "' '" + name + "'";
    if (std::system(command.c_str()) != 0) {
        std::printf("%-16s could not be measured\n", name.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--measure") {
        return measureOne(argv[2], argv[3]);
    }
    std::vector<int> nodeCounts;
    std::vector<int> triangleCounts;
    for (int index = 1; index < argc; ++index) {
        if (argv[index][0] == 't') {
            triangleCounts.push_back(std::max(1, std::atoi(argv[index] + 1)));
        } else {
            nodeCounts.push_back(std::max(1, std::atoi(argv[index])));
        }
    }
    if (argc == 1) {
        nodeCounts = {1000, 10000, 100000};
        triangleCounts = {1000000, 5000000, 20000000};
    }
    glfwInit();
    if (!glfwOpenWindow(kWidth, kHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW)) {
        std::fprintf(stderr, "scale_benchmark: cannot open a window\n");
        return 1;
    }
    glfwSwapInterval(0);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("empty loop before: %.1f fps\n", emptyLoopRate());

    const fs::path shipped = fs::path(extractAppDir(argv[0]) + "/data");
    const fs::path directory =
        fs::temp_directory_path() / ("scale_benchmark." + std::to_string(::getpid()));
    writeCommonContent(directory, shipped);
    const std::string program = fs::read_symlink("/proc/self/exe").string();
    for (int count : nodeCounts) {
        writeNodeScenes(directory, count);
        for (const char* kind : {"models-", "merged-", "sparse-"}) {
            measureApart(program, directory, kind + std::to_string(count));
        }
    }
    for (int triangles : triangleCounts) {
        writeTriangleScene(directory, triangles);
        measureApart(program, directory, "spheres-" + std::to_string(triangles));
    }
    std::printf("empty loop after: %.1f fps\n", emptyLoopRate());
    fs::remove_all(directory);
    glfwTerminate();
    return 0;
}
