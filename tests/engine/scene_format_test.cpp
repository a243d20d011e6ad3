#include <gtest/gtest.h>

#include "engine/formats/scene_format.h"

using namespace engine;

namespace {

std::string errorOf(const std::string& xml) {
    Parsed<SceneDesc> parsed = parseScene(xml);
    EXPECT_FALSE(parsed.ok()) << "parsed although it should not: " << xml;
    return parsed.ok() ? std::string() : parsed.error();
}

}  // namespace

TEST(SceneFormat, ReadsEveryKindOfNode) {
    Parsed<SceneDesc> parsed = parseScene(R"(
<scene name="world" translation="1 2 3">
  <group name="props" rotation="0 90 0" scale="2 2 2">
    <model name="statue" geometry="statue.gltf" material="stone.material.xml">
      <meshMaterial mesh="Base" material="marble.material.xml"/>
      <light name="glow" color="0.5 0.5 1" radius="3"/>
    </model>
  </group>
  <light name="sun" translation="0 10 0" color="1 0.9 0.8" radius="50" shadows="true"/>
  <camera name="overview" pipeline="simple.pipeline.xml" fov="60" near="0.5" far="200"/>
  <reference name="room" scene="room.scene.xml" translation="0 0 -5"/>
</scene>)");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const SceneNodeDesc& root = parsed.value().root;
    EXPECT_EQ(root.kind, SceneNodeKind::Group);
    EXPECT_EQ(root.name, "world");
    EXPECT_EQ(root.translation, glm::vec3(1, 2, 3));
    ASSERT_EQ(root.children.size(), 4u);

    const SceneNodeDesc& props = root.children[0];
    EXPECT_EQ(props.rotation, glm::vec3(0, 90, 0));
    EXPECT_EQ(props.scale, glm::vec3(2, 2, 2));
    const SceneNodeDesc& statue = props.children.at(0);
    EXPECT_EQ(statue.kind, SceneNodeKind::Model);
    EXPECT_EQ(statue.geometry, "statue.gltf");
    EXPECT_EQ(statue.material, "stone.material.xml");
    ASSERT_EQ(statue.meshMaterials.size(), 1u);
    EXPECT_EQ(statue.meshMaterials[0].mesh, "Base");
    EXPECT_EQ(statue.meshMaterials[0].material, "marble.material.xml");
    ASSERT_EQ(statue.children.size(), 1u);
    EXPECT_EQ(statue.children[0].kind, SceneNodeKind::Light);

    const SceneNodeDesc& sun = root.children[1];
    EXPECT_EQ(sun.kind, SceneNodeKind::Light);
    EXPECT_EQ(sun.color, glm::vec3(1.0f, 0.9f, 0.8f));
    EXPECT_FLOAT_EQ(sun.radius, 50.0f);
    EXPECT_TRUE(sun.castsShadows);

    const SceneNodeDesc& camera = root.children[2];
    EXPECT_EQ(camera.kind, SceneNodeKind::Camera);
    EXPECT_EQ(camera.pipeline, "simple.pipeline.xml");
    EXPECT_FLOAT_EQ(camera.fieldOfView, 60.0f);
    EXPECT_FLOAT_EQ(camera.nearDistance, 0.5f);
    EXPECT_FLOAT_EQ(camera.farDistance, 200.0f);

    const SceneNodeDesc& room = root.children[3];
    EXPECT_EQ(room.kind, SceneNodeKind::Reference);
    EXPECT_EQ(room.scene, "room.scene.xml");
    EXPECT_EQ(room.line, 11);
}

TEST(SceneFormat, NodesWithoutNamesAreNamedAfterTheirKind) {
    Parsed<SceneDesc> parsed = parseScene("<scene><group/><light/></scene>");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().root.name, "scene");
    EXPECT_EQ(parsed.value().root.children[0].name, "group");
    EXPECT_EQ(parsed.value().root.children[1].name, "light");
    EXPECT_EQ(parsed.value().root.children[1].color, glm::vec3(1.0f));
}

TEST(SceneFormat, RejectsBadNodes) {
    EXPECT_NE(errorOf("<scene><model/></scene>").find("needs a 'geometry'"), std::string::npos);
    EXPECT_NE(errorOf("<scene><reference/></scene>").find("needs a 'scene'"), std::string::npos);
    EXPECT_NE(errorOf("<scene><reference scene=\"a.xml\"><group/></reference></scene>")
                  .find("unknown element <group>"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene><group translation=\"1 2\"/></scene>").find("3 numbers, not 2"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene><light color=\"-1 0 0\"/></scene>").find("cannot be negative"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene><light radius=\"0\"/></scene>").find("'radius'"), std::string::npos);
    EXPECT_NE(errorOf("<scene><camera near=\"10\" far=\"5\"/></scene>").find("beyond 'near'"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene><camera fov=\"180\"/></scene>").find("'fov'"), std::string::npos);
    EXPECT_NE(errorOf("<scene><group><meshMaterial mesh=\"a\" material=\"b\"/></group></scene>")
                  .find("unknown element <meshMaterial>"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene><model geometry=\"g\"><meshMaterial mesh=\"a\" material=\"b\"/>"
                      "<meshMaterial mesh=\"a\" material=\"c\"/></model></scene>")
                  .find("already has a material"),
              std::string::npos);
    EXPECT_NE(errorOf("<scene>\n\n<sphere/></scene>").find("line 3: unknown element <sphere>"),
              std::string::npos);
    EXPECT_NE(errorOf("<scenery/>").find("must be <scene>"), std::string::npos);
}

TEST(SceneFormat, RejectsTreesNestedBeyondTheLimit) {
    std::string xml = "<scene>";
    for (int level = 0; level < 200; ++level) {
        xml += "<group>";
    }
    for (int level = 0; level < 200; ++level) {
        xml += "</group>";
    }
    xml += "</scene>";
    EXPECT_NE(errorOf(xml).find("nested deeper"), std::string::npos);
}

TEST(SceneFormat, VisitsNodesParentsFirst) {
    Parsed<SceneDesc> parsed = parseScene(
        "<scene name=\"a\"><group name=\"b\"><group name=\"c\"/></group>"
        "<group name=\"d\"/></scene>");
    ASSERT_TRUE(parsed.ok());
    std::string order;
    forEachSceneNode(parsed.value().root,
                     [&order](const SceneNodeDesc& node) { order += node.name; });
    EXPECT_EQ(order, "abcd");
}
