// The shipped pipelines at work on small scenes, and what the engine leaves behind when it is
// released.
#include <epoxy/gl.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;
using PipelineRendering = EngineGlTest;

namespace {

const std::vector<std::string> kShippedRendering = {
    "model.shader",        "sky.shader",         "postprocess.shader", "postprocess.material.xml",
    "simple.pipeline.xml", "master.pipeline.xml"};

// A glowing wall over the left half of the view, too dim to bloom: a sharp vertical edge.
void writeEdgeScene(const ScratchDirectory& directory) {
    copyShippedFiles(directory, kShippedRendering);
    writeGltf(directory, "wall.gltf", gltf_test::quadMesh("wall", 10.0f));
    writeLitMaterial(directory, "glow.material.xml", glm::vec3(0.0f), glm::vec3(0.4f));
    directory.write("s.scene.xml",
                    "<scene><model name=\"wall\" geometry=\"wall.gltf\" "
                    "material=\"glow.material.xml\" translation=\"-10 0 -5\"/></scene>");
}

// Pixels of the middle row whose brightness lies clearly between the two sides of the edge.
int blurredPixels(const Picture& picture, int width, int height) {
    const int dark = picture.brightness(width - 1, height / 2);
    const int bright = picture.brightness(0, height / 2);
    int between = 0;
    for (int x = 0; x < width; ++x) {
        const int value = picture.brightness(x, height / 2);
        between += value > dark + (bright - dark) / 10 && value < bright - (bright - dark) / 10;
    }
    return between;
}

// Every OpenGL name below the limit that is still some object in the current context.
int livingObjects() {
    int living = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        living += glIsBuffer(name) || glIsTexture(name) || glIsProgram(name) || glIsShader(name) ||
                  glIsFramebuffer(name) || glIsRenderbuffer(name);
    }
    return living;
}

}  // namespace

TEST_F(PipelineRendering, TheTurnBlurSmearsOnlyWhileBlurDirIsNotZero) {
    ScratchDirectory directory;
    writeEdgeScene(directory);
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "master.pipeline.xml", 0);
    H3DRes post = h3dAddResource(H3DResTypes::Material, "postprocess.material.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    ASSERT_TRUE(h3dSetMaterialUniform(post, "blurDir", 0, 0, 0, 0));
    renderFrame(camera);
    Picture sharp(kWidth, kHeight);
    EXPECT_GT(sharp.brightness(kWidth / 4, kHeight / 2),
              sharp.brightness(3 * kWidth / 4, kHeight / 2) + 100);
    EXPECT_LE(blurredPixels(sharp, kWidth, kHeight), 2);

    // A strength of 1 spreads each pixel over a tenth of the width: 32 pixels here.
    ASSERT_TRUE(h3dSetMaterialUniform(post, "blurDir", 1, 0, 0, 0));
    renderFrame(camera);
    Picture smeared(kWidth, kHeight);
    EXPECT_GE(blurredPixels(smeared, kWidth, kHeight), 16);
    // The blur is horizontal: a column away from the edge keeps its brightness.
    EXPECT_NEAR(smeared.brightness(kWidth / 8, kHeight / 4),
                sharp.brightness(kWidth / 8, kHeight / 4), 6);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(PipelineRendering, MasterAndSimplePaintTheSameSceneDifferently) {
    ScratchDirectory directory;
    copyShippedFiles(directory, kShippedRendering);
    writeGltf(directory, "sphere.gltf", gltf_test::sphereMesh("ball", 1.0f, 24, 48));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(0.7f, 0.6f, 0.5f), glm::vec3(0.02f));
    directory.write("s.scene.xml",
                    "<scene><model name=\"ball\" geometry=\"sphere.gltf\" "
                    "material=\"lit.material.xml\" translation=\"0 0 -4\"/>"
                    "<light name=\"lamp\" translation=\"-3 2 -1\" color=\"3 3 3\" "
                    "radius=\"20\"/></scene>");
    H3DRes simple = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    H3DRes master = h3dAddResource(H3DResTypes::Pipeline, "master.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(simple, kWidth, kHeight);
    h3dResizePipelineBuffers(master, kWidth, kHeight);

    renderFrame(camera);
    Picture simplePicture(kWidth, kHeight);
    h3dSetNodeParamI(camera, H3DCamera::PipeResI, master);
    renderFrame(camera);
    Picture masterPicture(kWidth, kHeight);

    int difference = 0;
    for (int y = 0; y < kHeight; y += 8) {
        for (int x = 0; x < kWidth; x += 8) {
            difference += std::abs(simplePicture.brightness(x, y) - masterPicture.brightness(x, y));
        }
    }
    const int samples = (kWidth / 8) * (kHeight / 8);
    EXPECT_GT(difference / samples, 4) << "average difference per pixel";
    // Both show the lit ball.
    EXPECT_GT(simplePicture.brightness(kWidth / 2 - 20, kHeight / 2 + 10), 200);
    EXPECT_GT(masterPicture.brightness(kWidth / 2 - 20, kHeight / 2 + 10), 200);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(PipelineRendering, APipelineThatCannotDrawGivesWayToTheBuiltInOneAndSaysSoOnce) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader"});
    writeGltf(directory, "sphere.gltf", gltf_test::sphereMesh("ball", 1.0f, 24, 48));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(0.7f, 0.6f, 0.5f), glm::vec3(0.02f));
    directory.write("s.scene.xml",
                    "<scene><model name=\"ball\" geometry=\"sphere.gltf\" "
                    "material=\"lit.material.xml\" translation=\"0 0 -4\"/>"
                    "<light name=\"lamp\" translation=\"-3 2 -1\" color=\"3 3 3\" "
                    "radius=\"20\"/></scene>");
    // One pipeline file is broken; the other only draws through a material that is missing.
    directory.write("broken.pipeline.xml", "<pipeline><stage>");
    directory.write("quad.pipeline.xml",
                    "<pipeline><stage><switchTarget target=\"screen\"/>"
                    "<drawQuad material=\"gone.material.xml\" context=\"final\"/>"
                    "</stage></pipeline>");
    const H3DRes pipelines[] = {h3dAddResource(H3DResTypes::Pipeline, "broken.pipeline.xml", 0),
                                h3dAddResource(H3DResTypes::Pipeline, "quad.pipeline.xml", 0)};
    loadScene(directory, "s.scene.xml", false);

    for (H3DRes pipeline : pipelines) {
        H3DNode camera = addCamera(pipeline, kWidth, kHeight);
        takeMessages();
        renderFrame(camera);
        renderFrame(camera);
        EXPECT_GT(Picture(kWidth, kHeight).brightness(kWidth / 2 - 20, kHeight / 2 + 10), 200);
        const std::vector<std::string> messages = takeMessages();
        ASSERT_EQ(messages.size(), 1u) << joined(messages);
        EXPECT_NE(messages[0].find("drawn with the built-in pipeline"), std::string::npos);
        h3dRemoveNode(camera);
    }
}

TEST_F(PipelineRendering, ReleaseAndStartingAgainLeaveNoOpenGlObjectBehind) {
    h3dRelease();
    ASSERT_EQ(livingObjects(), 0) << "the context holds nothing but the engine's objects";
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(h3dInit());
        loadViewerContent();
        H3DNode camera = addCamera(masterPipeline, kWidth, kHeight);
        h3dAddNodes(H3DRootNode, neuroScene);
        h3dSetNodeTransform(camera, 0, 0, 10, 0, 0, 0, 1, 1, 1);
        renderFrame(camera);
        h3dSetNodeParamI(camera, H3DCamera::PipeResI, simplePipeline);
        h3dResizePipelineBuffers(simplePipeline, kWidth, kHeight);
        renderFrame(camera);
        EXPECT_GT(h3dGetStat(H3DStats::DrawCallCount), 10.0f);
        EXPECT_GT(livingObjects(), 20);

        h3dRelease();
        EXPECT_EQ(livingObjects(), 0) << "round " << round;
    }
    takeMessages();
}
