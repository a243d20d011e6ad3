#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/resources/geometry_upload.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/loaded_scene.h"
#include "engine/scene/scene_instancer.h"

using namespace engine;

namespace {

class SceneInstancer : public ::testing::Test {
  protected:
    ResourceTable resources;
    SceneGraph graph;
    MessageLog log;

    int addScene(const std::string& name, const std::string& xml) {
        int handle = resources.add(ResourceType::SceneGraph, name, 0);
        Parsed<SceneDesc> parsed = parseScene(xml);
        EXPECT_TRUE(parsed.ok()) << parsed.error();
        if (parsed.ok()) {
            auto payload = std::make_unique<LoadedScene>();
            payload->desc = parsed.value();
            resources.get(handle)->payload = std::move(payload);
        }
        return handle;
    }

    std::string messages() {
        std::string text;
        while (std::optional<Message> message = log.pop()) {
            text += message->text + "\n";
        }
        return text;
    }
};

}  // namespace

TEST_F(SceneInstancer, BuildsTheTreeWithTransformsAndSettings) {
    int pipeline = resources.add(ResourceType::Pipeline, "p.xml", 0);
    int material = resources.add(ResourceType::Material, "m.xml", 0);
    int scene = addScene("world.xml", R"(
<scene name="world" translation="0 0 -3">
  <light name="sun" translation="1 2 3" color="0.5 0.5 0.5" radius="9" shadows="true"/>
  <camera name="eye" pipeline="p.xml" fov="50"/>
  <model name="statue" geometry="g.gltf" material="m.xml"/>
</scene>)");

    H3DNode root = instantiateScene(graph, resources, 1, scene, log);
    ASSERT_NE(root, 0) << messages();
    EXPECT_EQ(graph.find(root)->name, "world");
    EXPECT_EQ(graph.find(root)->parent, 1);
    ASSERT_EQ(graph.find(root)->children.size(), 3u);

    H3DNode sun = graph.find(root)->children[0];
    const auto* light = graph.settingsOf<LightSettings>(sun);
    ASSERT_NE(light, nullptr);
    EXPECT_FLOAT_EQ(light->radius, 9.0f);
    EXPECT_TRUE(light->castsShadows);
    EXPECT_EQ(glm::vec3(graph.worldMatrix(sun)[3]), glm::vec3(1, 2, 0));

    const auto* camera = graph.settingsOf<CameraSettings>(graph.find(root)->children[1]);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->pipeline, pipeline);
    EXPECT_FLOAT_EQ(camera->fieldOfView, 50.0f);

    const auto* model = graph.settingsOf<ModelSettings>(graph.find(root)->children[2]);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->defaultMaterial, material);
    EXPECT_EQ(model->geometry, resources.find(ResourceType::Geometry, "g.gltf"));
    EXPECT_NE(messages().find("the geometry 'g.gltf' of model 'statue' is not loaded"),
              std::string::npos);
}

TEST_F(SceneInstancer, ModelsGetAMeshNodePerMeshWithItsMaterial) {
    int stone = resources.add(ResourceType::Material, "stone.xml", 0);
    int gold = resources.add(ResourceType::Material, "gold.xml", 0);
    int geometry = resources.add(ResourceType::Geometry, "statue.glb", 0);
    auto loaded = std::make_unique<LoadedGeometry>();
    loaded->meshes.resize(3);
    loaded->meshes[0].name = "body";
    loaded->meshes[1].name = "crown";
    resources.get(geometry)->payload = std::move(loaded);
    int scene = addScene("s.xml", R"(
<scene>
  <model name="statue" geometry="statue.glb" material="stone.xml">
    <meshMaterial mesh="crown" material="gold.xml"/>
    <light name="glow"/>
  </model>
</scene>)");

    H3DNode root = instantiateScene(graph, resources, 1, scene, log);
    ASSERT_NE(root, 0);
    H3DNode model = graph.find(root)->children.at(0);
    const std::vector<H3DNode>& children = graph.find(model)->children;
    ASSERT_EQ(children.size(), 4u);
    const char* names[] = {"body", "crown", "mesh2"};
    const int materials[] = {stone, gold, stone};
    for (int index = 0; index < 3; ++index) {
        const auto* mesh =
            graph.settingsOf<MeshSettings>(children[static_cast<std::size_t>(index)]);
        ASSERT_NE(mesh, nullptr) << index;
        EXPECT_EQ(graph.find(children[static_cast<std::size_t>(index)])->name, names[index]);
        EXPECT_EQ(mesh->geometry, geometry);
        EXPECT_EQ(mesh->meshIndex, index);
        EXPECT_EQ(mesh->material, materials[index]) << index;
    }
    EXPECT_EQ(graph.find(children[3])->kind(), NodeKind::Light);
    EXPECT_EQ(messages(), "");
}

TEST_F(SceneInstancer, ModelsGetTheFilesNodeTreeWithAMeshNodePerUse) {
    int stone = resources.add(ResourceType::Material, "stone.xml", 0);
    int gold = resources.add(ResourceType::Material, "gold.xml", 0);
    int geometry = resources.add(ResourceType::Geometry, "statue.glb", 0);
    auto loaded = std::make_unique<LoadedGeometry>();
    loaded->meshes.resize(2);
    loaded->meshes[0].name = "body";
    loaded->meshes[1].name = "crown";
    const glm::mat4 left = glm::translate(glm::mat4(1.0f), glm::vec3(-2, 0, 0));
    const glm::mat4 raised = glm::translate(glm::mat4(1.0f), glm::vec3(0, 3, 0));
    loaded->nodes = {
        {"left", -1, left, 0}, {"top", 0, raised, 1}, {"right", -1, glm::mat4(1.0f), 0}};
    resources.get(geometry)->payload = std::move(loaded);
    int scene = addScene("s.xml", R"(
<scene>
  <model name="statue" geometry="statue.glb" material="stone.xml" translation="0 0 -5">
    <meshMaterial mesh="crown" material="gold.xml"/>
  </model>
</scene>)");

    H3DNode root = instantiateScene(graph, resources, 1, scene, log);
    H3DNode model = graph.find(root)->children.at(0);
    ASSERT_EQ(graph.find(model)->children.size(), 2u);
    H3DNode leftGroup = graph.find(model)->children[0];
    H3DNode rightGroup = graph.find(model)->children[1];
    EXPECT_EQ(graph.find(leftGroup)->name, "left");
    EXPECT_EQ(graph.find(rightGroup)->name, "right");
    const std::vector<H3DNode>& below = graph.find(leftGroup)->children;
    ASSERT_EQ(below.size(), 2u);
    const auto* leftBody = graph.settingsOf<MeshSettings>(below[0]);
    ASSERT_NE(leftBody, nullptr);
    EXPECT_EQ(graph.find(below[0])->name, "body");
    EXPECT_EQ(leftBody->material, stone);
    const auto* rightBody = graph.settingsOf<MeshSettings>(graph.find(rightGroup)->children.at(0));
    ASSERT_NE(rightBody, nullptr);
    EXPECT_EQ(rightBody->geometry, geometry);
    EXPECT_EQ(rightBody->meshIndex, 0) << "both uses draw the same mesh";
    H3DNode crown = graph.find(below[1])->children.at(0);
    EXPECT_EQ(graph.settingsOf<MeshSettings>(crown)->material, gold);
    EXPECT_EQ(glm::vec3(graph.worldMatrix(crown)[3]), glm::vec3(-2, 3, -5));
    EXPECT_EQ(messages(), "");
}

TEST_F(SceneInstancer, ReferencesInstantiateTheirScenes) {
    addScene("room.xml", "<scene name=\"room\"><light name=\"lamp\"/></scene>");
    int scene = addScene("house.xml",
                         "<scene><reference name=\"a\" scene=\"room.xml\"/>"
                         "<reference name=\"b\" scene=\"room.xml\"/></scene>");
    H3DNode root = instantiateScene(graph, resources, 1, scene, log);
    ASSERT_NE(root, 0);
    for (H3DNode reference : graph.find(root)->children) {
        EXPECT_EQ(graph.find(reference)->kind(), NodeKind::Reference);
        ASSERT_EQ(graph.find(reference)->children.size(), 1u);
        H3DNode room = graph.find(reference)->children[0];
        EXPECT_EQ(graph.find(room)->name, "room");
        EXPECT_EQ(graph.find(graph.find(room)->children[0])->name, "lamp");
    }
    EXPECT_EQ(messages(), "");
}

TEST_F(SceneInstancer, ASceneCannotIncludeItself) {
    addScene("a.xml", "<scene><reference scene=\"b.xml\"/></scene>");
    int b = addScene("b.xml", "<scene>\n<reference scene=\"a.xml\"/></scene>");
    H3DNode root = instantiateScene(graph, resources, 1, b, log);
    ASSERT_NE(root, 0);
    std::string text = messages();
    EXPECT_NE(
        text.find("scene 'a.xml' line 1: the reference to 'b.xml' would include it in itself"),
        std::string::npos)
        << text;
}

TEST_F(SceneInstancer, AReferenceToAnUnloadedSceneStaysEmpty) {
    resources.add(ResourceType::SceneGraph, "missing.xml", 0);
    int scene = addScene("a.xml", "<scene><reference scene=\"missing.xml\"/></scene>");
    H3DNode root = instantiateScene(graph, resources, 1, scene, log);
    ASSERT_NE(root, 0);
    H3DNode reference = graph.find(root)->children.at(0);
    EXPECT_TRUE(graph.find(reference)->children.empty());
    EXPECT_NE(messages().find("'missing.xml' is not loaded"), std::string::npos);
}

TEST_F(SceneInstancer, RefusesUnloadedScenesAndBadParents) {
    int unloaded = resources.add(ResourceType::SceneGraph, "u.xml", 0);
    EXPECT_EQ(instantiateScene(graph, resources, 1, unloaded, log), 0);
    EXPECT_NE(messages().find("not a loaded scene"), std::string::npos);
    int scene = addScene("a.xml", "<scene/>");
    EXPECT_EQ(instantiateScene(graph, resources, 99, scene, log), 0);
    EXPECT_NE(messages().find("99 is not a node"), std::string::npos);
    EXPECT_EQ(instantiateScene(graph, resources, 1, 12345, log), 0);
}

TEST_F(SceneInstancer, AnInstanceBeyondTheNodeLimitIsRefusedBeforeAnyNodeIsMade) {
    // Five levels of 64 references each: over a billion nodes if they were made.
    std::string sixtyFour;
    for (int copy = 0; copy < 64; ++copy) {
        sixtyFour += "<reference scene=\"LEVEL\"/>";
    }
    auto levelScene = [&](int below) {
        std::string text = sixtyFour;
        for (std::size_t at = text.find("LEVEL"); at != std::string::npos; at = text.find("LEVEL"))
            text.replace(at, 5, "l" + std::to_string(below) + ".xml");
        return "<scene>" + text + "</scene>";
    };
    addScene("l0.xml", "<scene><group/></scene>");
    for (int level = 1; level <= 4; ++level) {
        addScene("l" + std::to_string(level) + ".xml", levelScene(level - 1));
    }
    int top = addScene("top.xml", levelScene(4));
    EXPECT_EQ(instantiateScene(graph, resources, 1, top, log), 0);
    EXPECT_NE(messages().find("scene 'top.xml' would add more than 1000000 nodes"),
              std::string::npos);
    int nodes = 0;
    graph.forEachNode([&](int, const SceneNode&) { ++nodes; });
    EXPECT_EQ(nodes, 1);

    // Two levels stay far below the limit and are made in full: l0 makes 2 nodes, each level
    // above 1 + 64 * (a reference and the level below), and the graph has its root.
    H3DNode root = instantiateScene(graph, resources, 1,
                                    resources.find(ResourceType::SceneGraph, "l2.xml"), log);
    ASSERT_NE(root, 0) << messages();
    nodes = 0;
    graph.forEachNode([&](int, const SceneNode&) { ++nodes; });
    const int levelOne = 1 + 64 * (1 + 2);
    EXPECT_EQ(nodes, 1 + (1 + 64 * (1 + levelOne)));
}

TEST_F(SceneInstancer, AModelsWholeNodeTreeCountsTowardsTheLimit) {
    // A file of 2,000 nodes, each using its one mesh: 4,000 nodes a model, and 300 models of it
    // would make 1.2 million.
    GeometryDesc file;
    file.meshes.resize(1);
    file.nodes.assign(2000, GeometryNode{"part", -1, glm::mat4(1.0f), 0});
    int geometry = resources.add(ResourceType::Geometry, "parts.glb", 0);
    auto loaded = std::make_unique<LoadedGeometry>();
    loaded->nodesPerModel = modelNodeCount(file);
    EXPECT_EQ(loaded->nodesPerModel, 4000u);
    resources.get(geometry)->payload = std::move(loaded);
    std::string models;
    for (int copy = 0; copy < 300; ++copy) {
        models += "<model geometry=\"parts.glb\"/>";
    }
    int scene = addScene("many.xml", "<scene>" + models + "</scene>");
    EXPECT_EQ(instantiateScene(graph, resources, 1, scene, log), 0);
    EXPECT_NE(messages().find("would add more than 1000000 nodes"), std::string::npos);
}
