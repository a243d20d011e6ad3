// What animating costs: 100 copies of a skinned character (a tube of about 4,800 triangles on 60
// joints that curls and straightens) drawn through the shipped "simple" pipeline in a 1366 by
// 768 window, posed every frame, and the same copies still, in one run. The still phase is
// measured before and after the animated one, so that drift shows. Prints the time to load the
// character and add its copies, each phase's median and 99th percentile frame times, and for the
// animated phase the CPU time of the update per frame: the h3dSetModelAnimation calls plus the
// engine's posing of world matrices and joints (H3DStats::PoseTime).
//
// Usage: animation_benchmark [frames per phase] (default 300), on a display.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gltf_bending_tube.h"
#include "shell/shell.h"
#include "windowing/glfw2.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const int kWidth = 1366;
const int kHeight = 768;
const int kCopies = 100;
const int kColumns = 10;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Percentiles {
    double median = 0.0;
    double p99 = 0.0;
};

Percentiles percentilesOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values[values.size() * 99 / 100]};
}

// 60 bones of one unit, 2 rings a bone, 20 sides: 120 x 20 x 2 = 4,800 triangles.
std::string characterGlb() {
    gltf_test::BendingTube character;
    character.joints = 60;
    character.ringsPerBone = 2;
    character.around = 20;
    character.radius = 4.0f;
    character.bendDegrees = 6.0f;
    character.bendAndReturn = true;
    character.red = 0.8f;
    character.green = 0.6f;
    character.blue = 0.3f;
    return character.glb();
}

void writeContent(const fs::path& directory, const fs::path& shipped) {
    fs::create_directories(directory);
    for (const char* name : {"simple.pipeline.xml", "model.shader", "overlay.shader"}) {
        fs::copy_file(shipped / name, directory / name, fs::copy_options::overwrite_existing);
    }
    std::ofstream(directory / "character.glb", std::ios::binary) << characterGlb();
}

struct Scene {
    H3DNode camera = 0;
    std::vector<H3DNode> characters;
    double loadMilliseconds = 0.0;
};

// Ten by ten characters, each 3 units tall, 4 apart, 40 units ahead.
Scene loadScene(const fs::path& directory) {
    Scene scene;
    const Clock::time_point start = Clock::now();
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    const H3DRes character = h3dAddResource(H3DResTypes::Geometry, "character.glb", 0);
    h3dutLoadResourcesFromDisk(directory.c_str());
    for (int index = 0; index < kCopies; ++index) {
        const H3DNode node = h3dAddModelNode(H3DRootNode, "character", character);
        const float x = -18.0f + 4.0f * static_cast<float>(index % kColumns);
        const float y = -20.0f + 4.0f * static_cast<float>(index / kColumns);
        h3dSetNodeTransform(node, x, y, -40.0f, 0, 0, 0, 0.05f, 0.05f, 0.05f);
        scene.characters.push_back(node);
    }
    const H3DNode light = h3dAddLightNode(H3DRootNode, "lamp", 2, 2, 2, 200, false);
    h3dSetNodeTransform(light, 0, 10, -10, 0, 0, 0, 1, 1, 1);
    scene.loadMilliseconds = millisecondsSince(start);
    scene.camera = h3dAddCameraNode(H3DRootNode, "camera", pipeline);
    h3dSetNodeParamI(scene.camera, H3DCamera::ViewportWidthI, kWidth);
    h3dSetNodeParamI(scene.camera, H3DCamera::ViewportHeightI, kHeight);
    h3dSetupCameraView(scene.camera, 70.0f, static_cast<float>(kWidth) / kHeight, 0.1f, 1000.0f);
    h3dResizePipelineBuffers(pipeline, kWidth, kHeight);
    return scene;
}

// Each copy at its own point of the loop, a tenth of a second after the one before.
void poseAll(const Scene& scene, double seconds) {
    for (std::size_t index = 0; index < scene.characters.size(); ++index) {
        const double time = std::fmod(seconds + 0.1 * static_cast<double>(index), 2.0);
        h3dSetModelAnimation(scene.characters[index], 0, static_cast<float>(time));
    }
}

struct Phase {
    Percentiles frame;
    Percentiles update;
    Percentiles posing;
};

Phase measure(const Scene& scene, int frames, bool animated) {
    std::vector<double> frameTimes;
    std::vector<double> updateTimes;
    std::vector<double> posingTimes;
    double seconds = 0.0;
    for (int frame = 0; frame < frames; ++frame) {
        const Clock::time_point start = Clock::now();
        double update = 0.0;
        if (animated) {
            poseAll(scene, seconds);
            update = millisecondsSince(start);
        }
        h3dRender(scene.camera);
        h3dFinalizeFrame();
        h3dClearOverlays();
        glfwSwapBuffers();
        const double elapsed = millisecondsSince(start);
        frameTimes.push_back(elapsed);
        const double posing = h3dGetStat(H3DStats::PoseTime);
        updateTimes.push_back(update + posing);
        posingTimes.push_back(posing);
        seconds += elapsed / 1000.0;
    }
    return {percentilesOf(frameTimes), percentilesOf(updateTimes), percentilesOf(posingTimes)};
}

void print(const char* name, const Phase& phase, bool animated) {
    std::printf("%-10s median %7.2f ms  p99 %7.2f ms", name, phase.frame.median, phase.frame.p99);
    if (animated) {
        std::printf(
            "  update median %6.3f ms  p99 %6.3f ms (of which the engine's posing %6.3f ms)",
            phase.update.median, phase.update.p99, phase.posing.median);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const fs::path shipped = fs::path(extractAppDir(argv[0]) + "/data");
    const fs::path directory = fs::temp_directory_path() / "animation_benchmark";
    writeContent(directory, shipped);
    glfwInit();
    if (!glfwOpenWindow(kWidth, kHeight, 8, 8, 8, 8, 24, 8, GLFW_WINDOW)) {
        std::fprintf(stderr, "animation_benchmark: cannot open a window\n");
        return 1;
    }
    glfwSwapInterval(0);
    if (!h3dInit()) {
        std::fprintf(stderr, "animation_benchmark: the engine did not start\n");
        h3dutDumpMessages();
        return 1;
    }
    const Scene scene = loadScene(directory);
    h3dutDumpMessages();
    std::printf("%d characters of 4800 triangles and 60 joints, %d frames a phase\n", kCopies,
                frames);
    std::printf("loaded and added in %.1f ms\n", scene.loadMilliseconds);
    // The still copies hold a pose of their own, so that both phases draw the same shapes.
    poseAll(scene, 0.5);
    measure(scene, 10, false);
    const Phase stillBefore = measure(scene, frames, false);
    const Phase animated = measure(scene, frames, true);
    poseAll(scene, 0.5);
    const Phase stillAfter = measure(scene, frames, false);
    print("still", stillBefore, false);
    print("animated", animated, true);
    print("still", stillAfter, false);
    const double still = 0.5 * (stillBefore.frame.median + stillAfter.frame.median);
    std::printf("animated / still median frame time: %.2f\n", animated.frame.median / still);
    h3dutDumpMessages();
    h3dRelease();
    glfwTerminate();
    fs::remove_all(directory);
    return 0;
}
