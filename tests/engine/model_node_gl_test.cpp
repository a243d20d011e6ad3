// The calls a program uses to show a glTF file without a scene file: a model node for a
// geometry, lights made in code, the world box of a subtree and the figures of a geometry.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;
using ModelNodes = EngineGlTest;

namespace {

struct Box {
    float values[6] = {};
    bool found = false;
};

Box boxOf(H3DNode node) {
    Box box;
    box.found = h3dGetNodeAABB(node, &box.values[0], &box.values[1], &box.values[2], &box.values[3],
                               &box.values[4], &box.values[5]);
    return box;
}

void expectBox(const Box& box, std::initializer_list<float> expected) {
    ASSERT_TRUE(box.found);
    int index = 0;
    for (float value : expected) {
        EXPECT_NEAR(box.values[index], value, 1e-4f) << "coordinate " << index;
        ++index;
    }
}

// A crate standing on a plinth: two meshes, each placed by its own node.
H3DRes loadCrateOnPlinth(const ScratchDirectory& directory) {
    // The file's default material is drawn with the shipped shader.
    copyShippedFiles(directory, {"model.shader"});
    gltf_test::Document document;
    document.meshes = {gltf_test::boxMesh("crate", glm::vec3(1.0f)),
                       gltf_test::boxMesh("plinth", glm::vec3(2.0f, 0.25f, 2.0f))};
    document.nodes = {{0, glm::vec3(0, 2, 0)}, {1, glm::vec3(0)}};
    directory.write("crate.glb", gltf_test::glbFile(document));
    const H3DRes geometry = h3dAddResource(H3DResTypes::Geometry, "crate.glb", 0);
    h3dutLoadResourcesFromDisk(directory.path().c_str());
    return geometry;
}

}  // namespace

TEST_F(ModelNodes, AModelNodeCarriesTheFileTreeAndItsBoxFollowsTheNode) {
    ScratchDirectory directory;
    const H3DRes geometry = loadCrateOnPlinth(directory);
    const H3DNode model = h3dAddModelNode(H3DRootNode, "crate on plinth", geometry);
    ASSERT_NE(model, 0) << joined(takeMessages());
    EXPECT_EQ(h3dGetNodeType(model), H3DNodeTypes::Model);
    EXPECT_STREQ(h3dGetNodeName(model), "crate on plinth");
    const H3DNode crateGroup = h3dGetNodeChild(model, 0);
    EXPECT_EQ(h3dGetNodeType(h3dGetNodeChild(crateGroup, 0)), H3DNodeTypes::Mesh);
    EXPECT_EQ(h3dGetNodeType(h3dGetNodeChild(h3dGetNodeChild(model, 1), 0)), H3DNodeTypes::Mesh);

    expectBox(boxOf(model), {-2, -0.25f, -2, 2, 3, 2});
    expectBox(boxOf(crateGroup), {-1, 1, -1, 1, 3, 1});
    // Moving and scaling the model carries the box along, down to its parts.
    h3dSetNodeTransform(model, 10, 0, 0, 0, 0, 0, 2, 2, 2);
    expectBox(boxOf(model), {6, -0.5f, -4, 14, 6, 4});
    expectBox(boxOf(crateGroup), {8, 2, -2, 12, 6, 2});
    // A quarter turn about y swaps the plinth's x and z reach in the world.
    h3dSetNodeTransform(model, 0, 0, 0, 0, 90, 0, 1, 1, 1);
    expectBox(boxOf(h3dGetNodeChild(model, 1)), {-2, -0.25f, -2, 2, 0.25f, 2});
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(ModelNodes, ABoxNeedsMeshesBelowTheNode) {
    const H3DNode lamp = h3dAddLightNode(H3DRootNode, "lamp", 1, 1, 1, 10, false);
    const Box empty = boxOf(lamp);
    EXPECT_FALSE(empty.found);
    for (float value : empty.values) {
        EXPECT_EQ(value, 0.0f);
    }
    EXPECT_FALSE(boxOf(12345).found);
    EXPECT_TRUE(anyContains(takeMessages(), "h3dGetNodeAABB"));
}

TEST_F(ModelNodes, TheGeometryFiguresCountWhatLoaded) {
    ScratchDirectory directory;
    const H3DRes geometry = loadCrateOnPlinth(directory);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::MeshCountI), 2);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::TriangleCountI), 24);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::MaterialCountI), 0);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::TextureCountI), 0);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::LightCountI), 0);
    EXPECT_EQ(joined(takeMessages()), "");

    EXPECT_EQ(h3dGetResParamI(geometry, 999), 0);
    EXPECT_TRUE(anyContains(takeMessages(), "geometry 'crate.glb' has no figure 999"));
    const H3DRes missing = h3dAddResource(H3DResTypes::Geometry, "missing.glb", 0);
    h3dutLoadResourcesFromDisk(directory.path().c_str());
    takeMessages();
    EXPECT_EQ(h3dGetResParamI(missing, H3DGeometry::MeshCountI), 0);
    EXPECT_TRUE(anyContains(takeMessages(), "(it is not loaded)"));
}

// One triangle drawn three times: with a material whose image lies beside the file, with one
// whose image is missing, and with none (so the engine adds its default material). Two lights.
TEST_F(ModelNodes, FiguresCountTheFilesOwnMaterialsAndTheImagesThatLoaded) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader"});
    directory.write("present.png", pngOf(1, 1, {{255, 255, 255, 255}}));
    std::string buffer(44, '\0');
    const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const std::uint16_t indices[3] = {0, 1, 2};
    std::memcpy(&buffer[0], positions, sizeof positions);
    std::memcpy(&buffer[36], indices, sizeof indices);
    const std::string primitive = R"("attributes":{"POSITION":0},"indices":1)";
    const std::string json =
        R"({"asset":{"version":"2.0"},"extensionsUsed":["KHR_lights_punctual"],)"
        R"("extensions":{"KHR_lights_punctual":{"lights":[{"type":"point"},)"
        R"({"type":"directional"}]}},"nodes":[{"mesh":0},)"
        R"({"extensions":{"KHR_lights_punctual":{"light":1}}}],)"
        R"("meshes":[{"primitives":[{)" +
        primitive + R"(,"material":0},{)" + primitive + R"(,"material":1},{)" + primitive +
        R"(}]}],"materials":[{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}}},)"
        R"({"pbrMetallicRoughness":{"baseColorTexture":{"index":1}}}],)"
        R"("textures":[{"source":0},{"source":1}],)"
        R"("images":[{"uri":"present.png"},{"uri":"missing.png"}],)"
        R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3",)"
        R"("min":[0,0,0],"max":[1,1,0]},)"
        R"({"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"}],)"
        R"("bufferViews":[{"buffer":0,"byteLength":36},)"
        R"({"buffer":0,"byteOffset":36,"byteLength":6}],"buffers":[{"byteLength":44}]})";
    directory.write("looks.glb", gltf_test::glbFrom(json, buffer));
    const H3DRes geometry = h3dAddResource(H3DResTypes::Geometry, "looks.glb", 0);
    h3dutLoadResourcesFromDisk(directory.path().c_str());
    ASSERT_TRUE(h3dIsResLoaded(geometry)) << joined(takeMessages());
    const std::vector<std::string> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u) << joined(messages);
    EXPECT_TRUE(anyContains(messages, "missing.png")) << joined(messages);

    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::MeshCountI), 1);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::TriangleCountI), 3);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::MaterialCountI), 2);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::TextureCountI), 1);
    EXPECT_EQ(h3dGetResParamI(geometry, H3DGeometry::LightCountI), 2);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(ModelNodes, AModelNodeNeedsALoadedGeometryAndAParent) {
    ScratchDirectory directory;
    const H3DRes geometry = loadCrateOnPlinth(directory);
    const H3DRes missing = h3dAddResource(H3DResTypes::Geometry, "missing.glb", 0);
    h3dutLoadResourcesFromDisk(directory.path().c_str());
    takeMessages();

    EXPECT_EQ(h3dAddModelNode(H3DRootNode, "m", missing), 0);
    EXPECT_TRUE(anyContains(takeMessages(), "geometry 'missing.glb' is not loaded"));
    EXPECT_EQ(h3dAddModelNode(H3DRootNode, "m", 9999), 0);
    EXPECT_EQ(h3dAddModelNode(777, "m", geometry), 0);
    EXPECT_EQ(h3dAddModelNode(H3DRootNode, nullptr, geometry), 0);
    EXPECT_EQ(h3dGetNodeChild(H3DRootNode, 0), 0) << "no node was made";
    EXPECT_EQ(takeMessages().size(), 3u);
}

TEST_F(ModelNodes, ALightMadeInCodeLightsTheSideFacingIt) {
    ScratchDirectory directory;
    copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
    writeGltf(directory, "sphere.gltf", gltf_test::sphereMesh("ball", 1.0f, 24, 48));
    writeLitMaterial(directory, "lit.material.xml", glm::vec3(0.8f, 0.8f, 0.8f));
    directory.write("s.scene.xml",
                    "<scene><model name=\"ball\" geometry=\"sphere.gltf\" "
                    "material=\"lit.material.xml\" translation=\"0 0 -4\"/></scene>");
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    loadScene(directory, "s.scene.xml");
    const H3DNode lamp = h3dAddLightNode(H3DRootNode, "lamp", 1, 1, 1, 30, true);
    ASSERT_NE(lamp, 0) << joined(takeMessages());
    EXPECT_EQ(h3dGetNodeType(lamp), H3DNodeTypes::Light);
    h3dSetNodeTransform(lamp, 5, 0, -4, 0, 0, 0, 1, 1, 1);
    const H3DNode camera = addCamera(pipeline, kWidth, kHeight);

    renderFrame(camera);
    Picture picture(kWidth, kHeight);
    const int lit = picture.brightness(kWidth / 2 + 40, kHeight / 2);
    const int dark = picture.brightness(kWidth / 2 - 40, kHeight / 2);
    EXPECT_GT(lit, dark + 150) << lit << " against " << dark;
    EXPECT_EQ(joined(takeMessages()), "");

    EXPECT_EQ(h3dAddLightNode(H3DRootNode, "dark", -1, 1, 1, 30, false), 0);
    EXPECT_EQ(h3dAddLightNode(H3DRootNode, "nowhere", 1, 1, 1, 0, false), 0);
    EXPECT_EQ(h3dAddLightNode(H3DRootNode, "endless", 1, 1, 1, INFINITY, false), 0);
    EXPECT_EQ(takeMessages().size(), 3u);
}
