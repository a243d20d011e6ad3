// Drawing scenes: what ends up on the screen, read back pixel by pixel. Every expectation
// follows from the scene the test sets up, not from stored pictures.
#include <cstdlib>

#include <epoxy/gl.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;
using SceneRendering = EngineGlTest;

namespace {

// Writes a scene file of the given node elements.
void writeScene(const ScratchDirectory& directory, const std::string& name,
                const std::string& nodes) {
    directory.write(name, "<scene name=\"test\">" + nodes + "</scene>");
}

std::string model(const std::string& name, const std::string& geometry, const std::string& material,
                  const std::string& translation) {
    return "<model name=\"" + name + "\" geometry=\"" + geometry + "\" material=\"" + material +
           "\" translation=\"" + translation + "\"/>";
}

// A flat-shaded scene in a directory of its own, drawn by flat.pipeline.xml.
struct FlatScene {
    ScratchDirectory directory;
    H3DRes pipeline = 0;

    explicit FlatScene(bool offscreen = false) {
        writeFlatShader(directory);
        writeFlatPipeline(directory, offscreen);
        pipeline = h3dAddResource(H3DResTypes::Pipeline, "flat.pipeline.xml", 0);
    }
};

bool isReddish(const std::array<int, 4>& color) {
    return color[0] > 200 && color[1] < 40 && color[2] < 40;
}

bool isGreenish(const std::array<int, 4>& color) {
    return color[1] > 200 && color[0] < 40 && color[2] < 40;
}

}  // namespace

TEST_F(SceneRendering, AnObjectInFrontOfTheCameraShowsOverTheClearColour) {
    FlatScene scene;
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("box", "box.gltf", "red.material.xml", "0 0 -5"));
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    EXPECT_TRUE(isReddish(picture.at(kWidth / 2, kHeight / 2)))
        << describe(picture.at(kWidth / 2, kHeight / 2));
    EXPECT_TRUE(sameColor(picture.at(5, 5), storedColor(0, 0, 0)));
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 12.0f);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(SceneRendering, AMeshUsedBySeveralNodesIsDrawnAtEachMirroredOrNot) {
    FlatScene scene;
    // One square, used three times; the right copy is mirrored, which turns its triangles
    // round, so back-face culling would hide it if its winding were taken as it is.
    gltf_test::Document tiles{
        {gltf_test::quadMesh("tile", 0.5f)},
        {gltf_test::Node{0, {-2, 0, 0}, {1, 1, 1}}, gltf_test::Node{0, {0, 0, 0}, {1, 1, 1}},
         gltf_test::Node{0, {2, 0, 0}, {-1, 1, 1}}},
        {}};
    scene.directory.write("tiles.glb", gltf_test::glbFile(tiles));
    copyShippedFiles(scene.directory, {"model.shader"});
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("tiles", "tiles.glb", "red.material.xml", "0 0 -5"));
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    // At 5 units a 60-degree view spans about 3.85 units either side of the centre.
    for (int x : {77, 160, 243}) {
        EXPECT_TRUE(isReddish(picture.at(x, kHeight / 2)))
            << x << describe(picture.at(x, kHeight / 2));
    }
    for (int x : {118, 202}) {
        EXPECT_TRUE(sameColor(picture.at(x, kHeight / 2), storedColor(0, 0, 0))) << x;
    }
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 6.0f);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(SceneRendering, TheFiguresAreThoseOfTheLatestFinishedFrame) {
    FlatScene scene;
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    // Two materials, so that the boxes are not merged into one draw.
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeFlatMaterial(scene.directory, "green.material.xml", glm::vec4(0, 1, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("a", "box.gltf", "red.material.xml", "0 0 -5") +
                   model("b", "box.gltf", "green.material.xml", "2 0 -5"));
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 0.0f);

    h3dRender(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 0.0f) << "the frame is not finished yet";
    h3dFinalizeFrame();
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 2.0f);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 24.0f);
    EXPECT_EQ(h3dGetStat(999), 0.0f);
    EXPECT_TRUE(anyContains(takeMessages(), "unknown figure 999"));
}

TEST_F(SceneRendering, AnObjectOutsideTheViewIsNotDrawn) {
    FlatScene scene;
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("ahead", "box.gltf", "red.material.xml", "0 0 -5") +
                   model("behind", "box.gltf", "red.material.xml", "0 0 5") +
                   model("aside", "box.gltf", "red.material.xml", "40 0 -5"));
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 12.0f);

    // Turned around, the camera sees the one behind instead.
    h3dSetNodeTransform(camera, 0, 0, 0, 0, 180, 0, 1, 1, 1);
    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    Picture picture(kWidth, kHeight);
    EXPECT_TRUE(isReddish(picture.at(kWidth / 2, kHeight / 2)));
}

TEST_F(SceneRendering, ANearObjectHidesAFarOne) {
    FlatScene scene;
    writeGltf(scene.directory, "quad.gltf", gltf_test::quadMesh("quad", 1.0f));
    // The near material is declared first, so it is drawn first: only the depth test can keep
    // the far one from painting over it.
    writeFlatMaterial(scene.directory, "near.material.xml", glm::vec4(1, 0, 0, 1));
    writeFlatMaterial(scene.directory, "far.material.xml", glm::vec4(0, 1, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("near", "quad.gltf", "near.material.xml", "0 0 -4") +
                   "<model name=\"far\" geometry=\"quad.gltf\" material=\"far.material.xml\" "
                   "translation=\"0 0 -8\" scale=\"4 4 1\"/>");
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    EXPECT_TRUE(isReddish(picture.at(kWidth / 2, kHeight / 2)))
        << describe(picture.at(kWidth / 2, kHeight / 2));
    EXPECT_TRUE(isGreenish(picture.at(kWidth / 2 + 70, kHeight / 2)))
        << describe(picture.at(kWidth / 2 + 70, kHeight / 2));
}

TEST_F(SceneRendering, BackFacesAreCulledUnlessTheMaterialSaysOtherwise) {
    FlatScene scene;
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(5.0f)));
    writeFlatMaterial(scene.directory, "closed.material.xml", glm::vec4(1, 0, 0, 1));
    writeFlatMaterial(scene.directory, "open.material.xml", glm::vec4(0, 1, 0, 1), "",
                      "faceCulling=\"none\"");
    writeScene(scene.directory, "s.scene.xml",
               model("inside", "box.gltf", "closed.material.xml", "0 0 0"));
    writeScene(scene.directory, "t.scene.xml",
               model("inside", "box.gltf", "open.material.xml", "0 0 0"));
    H3DNode closed = loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    // From inside a closed box only its back faces face the camera.
    renderFrame(camera);
    EXPECT_TRUE(
        sameColor(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2), storedColor(0, 0, 0)));
    h3dRemoveNode(closed);
    loadScene(scene.directory, "t.scene.xml");
    renderFrame(camera);
    EXPECT_TRUE(isGreenish(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2)));
}

TEST_F(SceneRendering, ATextureShows) {
    FlatScene scene;
    // Left half red, right half green; rows repeat.
    scene.directory.write("halves.png", pngOf(2, 1, {{255, 0, 0, 255}, {0, 255, 0, 255}}));
    writeGltf(scene.directory, "quad.gltf", gltf_test::quadMesh("quad", 1.0f));
    writeFlatMaterial(scene.directory, "halves.material.xml", glm::vec4(1), "halves.png");
    writeScene(scene.directory, "s.scene.xml",
               model("quad", "quad.gltf", "halves.material.xml", "0 0 -2"));
    loadScene(scene.directory, "s.scene.xml");
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    // The quad spans about 208 pixels across; a quarter of the way in from either side lie
    // the two texels' centres.
    EXPECT_TRUE(isReddish(picture.at(kWidth / 2 - 50, kHeight / 2)))
        << describe(picture.at(kWidth / 2 - 50, kHeight / 2));
    EXPECT_TRUE(isGreenish(picture.at(kWidth / 2 + 50, kHeight / 2)))
        << describe(picture.at(kWidth / 2 + 50, kHeight / 2));
}

TEST_F(SceneRendering, ASphereStaysRoundWhenTheViewportIsResized) {
    const int screenWidth = 1920;
    const int screenHeight = 1080;
    reopenWindowAndEngine(screenWidth, screenHeight);
    FlatScene scene(true);
    writeGltf(scene.directory, "sphere.gltf", gltf_test::sphereMesh("ball", 1.0f, 24, 48));
    writeFlatMaterial(scene.directory, "white.material.xml", glm::vec4(1));
    writeScene(scene.directory, "s.scene.xml",
               model("ball", "sphere.gltf", "white.material.xml", "0 0 -6"));
    loadScene(scene.directory, "s.scene.xml");

    for (auto [width, height] : {std::pair{1366, 768}, std::pair{1920, 1080}}) {
        H3DNode camera = addCamera(scene.pipeline, width, height);
        renderFrame(camera);
        Picture picture(width, height);
        const int across = picture.brightAlongRow(height / 2, 300);
        const int down = picture.brightAlongColumn(width / 2, 300);
        // The sphere's outline is a circle (a projected sphere off the axis would not be).
        EXPECT_NEAR(across, down, 3) << width << "x" << height;
        // At 6 units with a vertical field of view of 60 degrees, its radius of 1 spans about
        // 2 / (2 * 6 * tan 30 degrees) of the height.
        EXPECT_NEAR(down, height * 2.0 / (12.0 * 0.57735), height * 0.02);
        h3dRemoveNode(camera);
    }
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(SceneRendering, TheSideFacingALightIsBrighter) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
    writeGltf(directory, "sphere.gltf", gltf_test::sphereMesh("ball", 1.0f, 24, 48));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(0.8f, 0.8f, 0.8f));
    writeScene(directory, "s.scene.xml",
               model("ball", "sphere.gltf", "lit.material.xml", "0 0 -4") +
                   "<light name=\"lamp\" translation=\"-5 0 -4\" color=\"1 1 1\" "
                   "radius=\"30\"/>");
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    const int lit = picture.brightness(kWidth / 2 - 40, kHeight / 2);
    const int dark = picture.brightness(kWidth / 2 + 40, kHeight / 2);
    EXPECT_GT(lit, dark + 150) << lit << " against " << dark;
    EXPECT_GT(lit, 300);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(SceneRendering, ALitObjectShowsItsOwnColour) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
    writeGltf(directory, "quad.gltf", gltf_test::quadMesh("quad", 1.0f));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(1.0f, 0.2f, 0.2f));
    writeScene(directory, "s.scene.xml",
               model("quad", "quad.gltf", "lit.material.xml", "0 0 -3") +
                   "<light name=\"lamp\" translation=\"0 0 0\" color=\"1 1 1\" radius=\"20\"/>");
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    std::array<int, 4> centre = picture.at(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre[0], 150) << describe(centre);
    EXPECT_GT(centre[0], 2 * centre[1]) << describe(centre);
    EXPECT_GT(centre[0], 2 * centre[2]) << describe(centre);
    glm::vec4 clear = clearColorOf("simple.pipeline.xml", "screen");
    EXPECT_TRUE(sameColor(picture.at(3, 3), storedColor(clear.r, clear.g, clear.b)))
        << describe(picture.at(3, 3));
}

TEST_F(SceneRendering, AShadowCasterDarkensWhatIsBehindIt) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader", "sky.shader", "postprocess.shader",
                                 "postprocess.material.xml", "master.pipeline.xml"});
    writeGltf(directory, "quad.gltf", gltf_test::quadMesh("quad", 1.0f));
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(0.3f)));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(0.9f));
    // A wall facing the camera, a small box between it and a light behind the camera.
    writeScene(directory, "s.scene.xml",
               "<model name=\"wall\" geometry=\"quad.gltf\" material=\"lit.material.xml\" "
               "translation=\"0 0 -6\" scale=\"4 4 1\"/>" +
                   model("box", "box.gltf", "lit.material.xml", "0 0 -4") +
                   "<light name=\"lamp\" translation=\"0 0 -1\" color=\"1 1 1\" radius=\"30\" "
                   "shadows=\"true\"/>");
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "master.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);
    h3dSetNodeTransform(camera, 1.5f, 0, 0, 0, 0, 0, 1, 1, 1);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    // Seen from aside, the wall behind the box lies in its shadow, about 35 to 69 pixels left
    // of the centre (the box itself hides the part left of 58); the wall further up is lit.
    const int shadowed = picture.brightness(kWidth / 2 - 45, kHeight / 2);
    const int lit = picture.brightness(kWidth / 2 - 45, kHeight / 2 + 60);
    EXPECT_LT(shadowed * 2, lit) << shadowed << " against " << lit;
    EXPECT_GT(h3dGetStat(H3DStats::DrawCallCount), 2.0f) << "the shadow map's draws count";
}

TEST_F(SceneRendering, ResizingRemakesTheTargetsAndTheSkyFollowsOnlyTurns) {
    ScratchDirectory directory;
    writeFlatShader(directory);
    copyShippedFiles(directory, {"sky.shader"});
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("sky", glm::vec3(1.0f)));
    // A cube texture in six flat colours.
    std::vector<std::array<unsigned char, 4>> faces;
    for (int face = 0; face < 6; ++face) {
        auto shade = static_cast<unsigned char>(40 * face + 40);
        faces.insert(faces.end(), 4, {shade, shade, shade, 255});
    }
    directory.write("cube.png", pngOf(2, 12, faces));
    directory.write("sky.material.xml",
                    "<material shader=\"sky.shader\" faceCulling=\"none\" frustumCulling=\"false\">"
                    "<texture sampler=\"skyMap\" file=\"cube.png\" kind=\"cube\"/>"
                    "<uniform name=\"skyColor\" value=\"1 1 1\"/></material>");
    directory.write("sky.pipeline.xml",
                    "<pipeline><target name=\"sky\"/><stage reuse=\"untilViewTurns\">"
                    "<switchTarget target=\"sky\"/><drawGeometry context=\"skyScreen\"/></stage>"
                    "<stage><switchTarget target=\"screen\"/><copyTarget source=\"sky\"/>"
                    "<clear depth=\"1\"/><drawGeometry context=\"flat\"/></stage></pipeline>");
    writeScene(directory, "s.scene.xml", model("sky", "box.gltf", "sky.material.xml", "0 0 0"));
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "sky.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    // Looking along -z the sky shows its -z face, the sixth: shade 240.
    EXPECT_NEAR(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2)[0], 240, 2);

    // Moving far away changes nothing at infinity: the sky is reused.
    h3dSetNodeTransform(camera, 500, 20, -30, 0, 0, 0, 1, 1, 1);
    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 0.0f);
    EXPECT_NEAR(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2)[0], 240, 2);

    // Turning to +x draws it again, showing the first face.
    h3dSetNodeTransform(camera, 500, 20, -30, 0, -90, 0, 1, 1, 1);
    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_NEAR(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2)[0], 40, 2);

    // New targets hold nothing, so the sky is drawn again after a resize.
    h3dResizePipelineBuffers(pipeline, kWidth, kHeight);
    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(SceneRendering, BrokenGeometryIsReportedAndTheRestIsDrawn) {
    FlatScene scene;
    scene.directory.write("broken.gltf", "{\"asset\": {\"version\": \"2.0\"}, \"meshes\": [{");
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("broken", "broken.gltf", "red.material.xml", "0 0 -5") +
                   model("box", "box.gltf", "red.material.xml", "0 0 -5"));
    loadScene(scene.directory, "s.scene.xml", false);
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "cannot load geometry 'broken.gltf'")) << joined(messages);
    EXPECT_TRUE(anyContains(messages, "the geometry 'broken.gltf' of model 'broken' is not loaded"))
        << joined(messages);
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_TRUE(isReddish(Picture(kWidth, kHeight).at(kWidth / 2, kHeight / 2)));
}

TEST_F(SceneRendering, AShaderThatDoesNotCompileIsReportedAndItsMeshesAreLeftOut) {
    FlatScene scene;
    scene.directory.write("broken.shader",
                          "@context flat\n@vertex\nvoid main() { gl_Position = vec4(0.0); }\n"
                          "@fragment\nvoid main() { gl_FragColor = notDeclared; }\n");
    scene.directory.write("broken.material.xml", "<material shader=\"broken.shader\"/>");
    writeGltf(scene.directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    writeFlatMaterial(scene.directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    writeScene(scene.directory, "s.scene.xml",
               model("bad", "box.gltf", "broken.material.xml", "-2 0 -5") +
                   model("good", "box.gltf", "red.material.xml", "2 0 -5"));
    loadScene(scene.directory, "s.scene.xml", false);
    EXPECT_TRUE(anyContains(takeMessages(), "notDeclared"));
    H3DNode camera = addCamera(scene.pipeline, kWidth, kHeight);

    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Meshes out of the key light's reach are drawn with the command's fill-only context: here the
// left box holds the light and stays red, the right one is out of reach and turns green.
TEST_F(SceneRendering, MeshesOutOfTheKeyLightsReachUseTheFillOnlyContext) {
    ScratchDirectory directory;
    directory.write("reach.shader",
                    "@shared\n"
                    "uniform mat4 worldMatrix;\n"
                    "uniform mat4 viewProjectionMatrix;\n"
                    "uniform vec4 surfaceColor;\n"
                    "vec4 placed(vec3 position) {\n"
                    "    return viewProjectionMatrix * worldMatrix * vec4(position, 1.0);\n"
                    "}\n"
                    "@context keyLit\n"
                    "@vertex\n"
                    "attribute vec3 vertexPosition;\n"
                    "void main() { gl_Position = placed(vertexPosition); }\n"
                    "@fragment\n"
                    "void main() { gl_FragColor = surfaceColor; }\n"
                    "@context fillLit\n"
                    "@vertex\n"
                    "attribute vec3 vertexPosition;\n"
                    "void main() { gl_Position = placed(vertexPosition); }\n"
                    "@fragment\n"
                    "void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }\n");
    directory.write("red.material.xml",
                    "<material shader=\"reach.shader\">"
                    "<uniform name=\"surfaceColor\" value=\"1 0 0 1\"/></material>");
    directory.write("reach.pipeline.xml",
                    "<pipeline><stage><switchTarget target=\"screen\"/>"
                    "<clear color=\"0 0 0 1\" depth=\"1\"/>"
                    "<drawGeometry context=\"keyLit\" fillOnlyContext=\"fillLit\"/>"
                    "</stage></pipeline>");
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(1.0f)));
    const std::string boxes = model("left", "box.gltf", "red.material.xml", "-1.5 0 -5") +
                              model("right", "box.gltf", "red.material.xml", "1.5 0 -5");
    writeScene(directory, "lit.scene.xml",
               boxes +
                   "<light name=\"lamp\" translation=\"-1.5 0 -5\" color=\"1 1 1\" "
                   "radius=\"1\"/>");
    writeScene(directory, "dark.scene.xml", boxes);
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "reach.pipeline.xml", 0);
    H3DNode lit = loadScene(directory, "lit.scene.xml");
    H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    const int left = kWidth / 4;
    const int right = kWidth * 3 / 4;
    EXPECT_TRUE(isReddish(picture.at(left, kHeight / 2)))
        << describe(picture.at(left, kHeight / 2));
    EXPECT_TRUE(isGreenish(picture.at(right, kHeight / 2)))
        << describe(picture.at(right, kHeight / 2));

    // Without any light nothing is in reach.
    h3dRemoveNode(lit);
    loadScene(directory, "dark.scene.xml");
    renderFrame(camera);
    Picture dark(kWidth, kHeight);
    EXPECT_TRUE(isGreenish(dark.at(left, kHeight / 2))) << describe(dark.at(left, kHeight / 2));
    EXPECT_TRUE(isGreenish(dark.at(right, kHeight / 2))) << describe(dark.at(right, kHeight / 2));
    EXPECT_EQ(joined(takeMessages()), "");
}
