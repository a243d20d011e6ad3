// A skinned tube written by the test, bent by its animation, read back: it is drawn where the
// bent pose lies on both pipelines, and its shadow on the wall behind follows the pose.
#include <cmath>

#include <glm/vec3.hpp>

#include "engine/h3d.h"
#include "gl_test_fixture.h"
#include "gltf_bending_tube.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;

namespace {

// The camera stands aside at x = -1.5 and looks along -z with 60 degrees of view.
const glm::vec3 kCamera(-1.5f, 0.0f, 0.0f);

struct PixelSpot {
    int x;
    int y;
};

PixelSpot pixelOf(const glm::vec3& world, int width, int height) {
    const glm::vec3 seen = world - kCamera;
    const float focal = 0.5f * static_cast<float>(height) / std::tan(0.5236f);
    return {static_cast<int>(0.5f * static_cast<float>(width) + seen.x / -seen.z * focal),
            static_cast<int>(0.5f * static_cast<float>(height) + seen.y / -seen.z * focal)};
}

bool red(const std::array<int, 4>& color) {
    return color[0] > 100 && color[0] > 2 * color[1] && color[0] > 2 * color[2];
}

}  // namespace

// A tube of two bones stands from y = -1 to 1 at z = -4, its elbow at y = 0; bent, its upper bone
// points along -x. A wall at z = -6 catches the shadow of a light at z = -1.
class Skinning : public EngineGlTest {
  protected:
    ScratchDirectory directory;
    H3DNode tube = 0;
    H3DNode camera = 0;

    void load(const char* pipelineFile, const gltf_test::BendingTube& shape = {},
              const std::string& tubeAttributes = "") {
        copyShippedFiles(
            directory, {"model.shader", "sky.shader", "postprocess.shader",
                        "postprocess.material.xml", "master.pipeline.xml", "simple.pipeline.xml"});
        writeGltf(directory, "quad.gltf", gltf_test::quadMesh("quad", 1.0f));
        writeLitMaterial(directory, "wall.material.xml", glm::vec3(0.9f));
        writeLitMaterial(directory, "glow.material.xml", glm::vec3(0.0f), glm::vec3(4, 0, 0));
        directory.write("tube.glb", shape.glb());
        directory.write("s.scene.xml",
                        "<scene><model name=\"wall\" geometry=\"quad.gltf\" "
                        "material=\"wall.material.xml\" translation=\"0 0 -6\" scale=\"4 4 1\"/>"
                        "<model name=\"tube\" geometry=\"tube.glb\" translation=\"0 -1 -4\" " +
                            tubeAttributes +
                            "/>"
                            "<light name=\"lamp\" translation=\"0 0 -1\" color=\"1 1 1\" "
                            "radius=\"30\" shadows=\"true\"/></scene>");
        const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, pipelineFile, 0);
        const H3DNode root = loadScene(directory, "s.scene.xml");
        tube = h3dGetNodeChild(root, 1);
        ASSERT_EQ(h3dGetNodeType(tube), H3DNodeTypes::Model);
        camera = addCamera(pipeline, kWidth, kHeight);
        h3dSetNodeTransform(camera, kCamera.x, kCamera.y, kCamera.z, 0, 0, 0, 1, 1, 1);
    }

    Picture renderAt(float seconds) {
        EXPECT_TRUE(h3dSetModelAnimation(tube, 0, seconds));
        renderFrame(camera);
        return Picture(kWidth, kHeight);
    }

    std::array<int, 4> at(const Picture& picture, const glm::vec3& world) {
        const PixelSpot spot = pixelOf(world, kWidth, kHeight);
        return picture.at(spot.x, spot.y);
    }
};

TEST_F(Skinning, TheBentTubeIsDrawnWhereItsPoseLiesOnBothPipelines) {
    for (const char* pipeline : {"master.pipeline.xml", "simple.pipeline.xml"}) {
        SCOPED_TRACE(pipeline);
        load(pipeline);
        const glm::vec3 upperAtRest(0.0f, 0.6f, -4.0f);
        const glm::vec3 upperBent(-0.6f, 0.0f, -4.0f);
        const Picture rest = renderAt(0.0f);
        EXPECT_TRUE(red(at(rest, upperAtRest))) << describe(at(rest, upperAtRest));
        EXPECT_FALSE(red(at(rest, upperBent))) << describe(at(rest, upperBent));
        const Picture bent = renderAt(1.0f);
        EXPECT_TRUE(red(at(bent, upperBent))) << describe(at(bent, upperBent));
        EXPECT_FALSE(red(at(bent, upperAtRest))) << describe(at(bent, upperAtRest));
        // The lower bone stays.
        EXPECT_TRUE(red(at(bent, glm::vec3(0.0f, -0.6f, -4.0f))));
        reopenWindowAndEngine(kWidth, kHeight);
    }
}

TEST_F(Skinning, TheShadowFollowsTheBentPose) {
    load("master.pipeline.xml");
    // Where the bent upper bone's shadow falls on the wall, and a spot above it that no pose
    // shadows.
    const glm::vec3 underArm(-1.5f, 0.0f, -6.0f);
    const glm::vec3 clear(-1.5f, 0.8f, -6.0f);
    const auto brightness = [&](const Picture& picture, const glm::vec3& world) {
        const std::array<int, 4> color = at(picture, world);
        return color[0] + color[1] + color[2];
    };
    const Picture rest = renderAt(0.0f);
    EXPECT_GT(brightness(rest, underArm) * 2, brightness(rest, clear)) << "lit at rest";
    const Picture bent = renderAt(1.0f);
    EXPECT_LT(brightness(bent, underArm) * 2, brightness(bent, clear))
        << brightness(bent, underArm) << " against " << brightness(bent, clear);
}

// A material of the scene's has no skinned build: the tube is skinned on the CPU instead.
TEST_F(Skinning, AMeshDrawnWithASceneMaterialIsSkinnedOnTheCpu) {
    load("simple.pipeline.xml", {}, "material=\"glow.material.xml\"");
    const Picture bent = renderAt(1.0f);
    EXPECT_TRUE(red(at(bent, glm::vec3(-0.6f, 0.0f, -4.0f))));
    EXPECT_FALSE(red(at(bent, glm::vec3(0.0f, 0.6f, -4.0f))));
}

TEST_F(Skinning, AMorphTargetMovesTheSkinnedTube) {
    gltf_test::BendingTube shifted;
    shifted.morphShift = -1.0f;
    load("simple.pipeline.xml", shifted);
    const Picture rest = renderAt(0.0f);
    EXPECT_TRUE(red(at(rest, glm::vec3(-1.0f, -0.6f, -4.0f))));
    EXPECT_FALSE(red(at(rest, glm::vec3(0.0f, -0.6f, -4.0f))));
}
