#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "engine/scene/node_transform.h"
#include "engine/scene/scene_graph.h"

using namespace engine;

namespace {

constexpr float kDegrees = 0.017453292f;

glm::vec3 viewDirection(const glm::mat4& world) {
    return glm::vec3(world * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f));
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

}  // namespace

TEST(NodeTransform, ACameraLooksAlongTheFlightControlsDirection) {
    for (float pitch : {0.0f, 30.0f, -45.0f, 89.0f}) {
        for (float yaw : {0.0f, 90.0f, 135.0f, -60.0f}) {
            for (float roll : {0.0f, 20.0f}) {
                glm::mat4 world = localMatrix({{0, 0, 0}, {pitch, yaw, roll}, {1, 1, 1}});
                float p = pitch * kDegrees;
                float y = yaw * kDegrees;
                expectNear(viewDirection(world), glm::vec3(-std::sin(y) * std::cos(p), std::sin(p),
                                                           -std::cos(y) * std::cos(p)));
            }
        }
    }
}

TEST(NodeTransform, YawIsOutermostAndRollInnermost) {
    glm::vec3 angles(30.0f, 50.0f, 70.0f);
    const glm::mat4 identity(1.0f);
    glm::mat4 expected = glm::rotate(identity, angles.y * kDegrees, glm::vec3(0, 1, 0)) *
                         glm::rotate(identity, angles.x * kDegrees, glm::vec3(1, 0, 0)) *
                         glm::rotate(identity, angles.z * kDegrees, glm::vec3(0, 0, 1));
    glm::mat4 actual = rotationMatrix(angles);
    for (int index = 0; index < 16; ++index) {
        EXPECT_NEAR(glm::value_ptr(actual)[index], glm::value_ptr(expected)[index], 1e-6f);
    }
    // At yaw 0 the camera's right is +x.
    expectNear(glm::vec3(rotationMatrix(glm::vec3(0.0f)) * glm::vec4(1, 0, 0, 0)), {1, 0, 0});
}

TEST(NodeTransform, ScalesThenRotatesThenTranslates) {
    glm::mat4 matrix = localMatrix({{10, 0, 0}, {0, 90, 0}, {2, 2, 2}});
    // (1, 0, 0) scaled to (2, 0, 0), yawed 90 degrees to (0, 0, -2), moved by (10, 0, 0).
    expectNear(glm::vec3(matrix * glm::vec4(1, 0, 0, 1)), {10, 0, -2});
}

TEST(NodeTransform, AFileMatrixIsKeptExactlyAndReadBackAsAnglesAndScale) {
    NodeTransform euler{{1, 2, 3}, {20, -70, 130}, {2, 3, -4}};
    const glm::mat4 matrix = localMatrix(euler);
    NodeTransform read = transformFromMatrix(matrix);
    EXPECT_EQ(localMatrix(read), matrix);
    read.matrix.reset();
    const glm::mat4 rebuilt = localMatrix(read);
    for (int column = 0; column < 4; ++column) {
        expectNear(glm::vec3(rebuilt[column]), glm::vec3(matrix[column]));
    }
    expectNear(read.translation, {1, 2, 3});
}

TEST(SceneGraph, SettingATransformReplacesAFileMatrix) {
    SceneGraph graph;
    const glm::mat4 mirror = glm::scale(glm::mat4(1.0f), glm::vec3(-1, 1, 1));
    H3DNode node = graph.addNode(H3DRootNode, "n", GroupSettings{}, transformFromMatrix(mirror));
    EXPECT_EQ(graph.worldMatrix(node), mirror);
    graph.setLocalTransform(node, NodeTransform{{0, 5, 0}, {}, {1, 1, 1}});
    EXPECT_EQ(glm::vec3(graph.worldMatrix(node)[3]), glm::vec3(0, 5, 0));
    EXPECT_EQ(graph.worldMatrix(node)[0].x, 1.0f);
}

TEST(SceneGraph, StartsWithTheRootNode) {
    SceneGraph graph;
    SceneNode* root = graph.find(1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->kind(), NodeKind::Group);
    EXPECT_EQ(root->parent, 0);
    EXPECT_EQ(graph.find(2), nullptr);
}

TEST(SceneGraph, ChildWorldMatricesFollowTheirParents) {
    SceneGraph graph;
    H3DNode parent =
        graph.addNode(1, "parent", GroupSettings{}, {{0, 0, -5}, {0, 0, 0}, {1, 1, 1}});
    H3DNode child =
        graph.addNode(parent, "child", LightSettings{}, {{1, 0, 0}, {0, 0, 0}, {1, 1, 1}});
    ASSERT_NE(child, 0);
    EXPECT_EQ(graph.find(child)->kind(), NodeKind::Light);
    expectNear(glm::vec3(graph.worldMatrix(child)[3]), {1, 0, -5});

    graph.setLocalTransform(parent, {{0, 2, 0}, {0, 90, 0}, {1, 1, 1}});
    expectNear(glm::vec3(graph.worldMatrix(child)[3]), {0, 2, -1});
}

TEST(SceneGraph, WorldMatricesAreRecomputedOnlyWhenDirty) {
    SceneGraph graph;
    H3DNode parent = graph.addNode(1, "parent", GroupSettings{});
    H3DNode child = graph.addNode(parent, "child", GroupSettings{});
    H3DNode sibling = graph.addNode(1, "sibling", GroupSettings{});
    graph.worldMatrix(child);
    graph.worldMatrix(sibling);
    EXPECT_FALSE(graph.find(parent)->worldDirty);
    EXPECT_FALSE(graph.find(child)->worldDirty);

    graph.setLocalTransform(parent, {{1, 0, 0}, {0, 0, 0}, {1, 1, 1}});
    EXPECT_TRUE(graph.find(parent)->worldDirty);
    EXPECT_TRUE(graph.find(child)->worldDirty);
    EXPECT_FALSE(graph.find(sibling)->worldDirty);

    // A cached matrix is what the cache returns: poke it and see it come back unchanged.
    graph.worldMatrix(child);
    graph.find(child)->world[3][1] = 42.0f;
    EXPECT_FLOAT_EQ(graph.worldMatrix(child)[3][1], 42.0f);
}

TEST(SceneGraph, RemovingANodeRemovesItsSubtree) {
    SceneGraph graph;
    H3DNode parent = graph.addNode(1, "parent", GroupSettings{});
    H3DNode child = graph.addNode(parent, "child", GroupSettings{});
    H3DNode grandchild = graph.addNode(child, "grandchild", GroupSettings{});
    EXPECT_TRUE(graph.removeNode(parent));
    EXPECT_EQ(graph.find(parent), nullptr);
    EXPECT_EQ(graph.find(child), nullptr);
    EXPECT_EQ(graph.find(grandchild), nullptr);
    EXPECT_TRUE(graph.find(1)->children.empty());
    EXPECT_FALSE(graph.removeNode(1));
    EXPECT_FALSE(graph.removeNode(parent));
}

TEST(SceneGraph, BadParentsAndHandlesAreRefused) {
    SceneGraph graph;
    EXPECT_EQ(graph.addNode(0, "orphan", GroupSettings{}), 0);
    EXPECT_EQ(graph.addNode(77, "orphan", GroupSettings{}), 0);
    EXPECT_EQ(graph.worldMatrix(77), glm::mat4(1.0f));
    graph.setLocalTransform(-1, NodeTransform());
    EXPECT_EQ(graph.settingsOf<CameraSettings>(1), nullptr);
}

TEST(SceneGraph, OnePassRefreshesEveryDirtyWorldMatrix) {
    SceneGraph graph;
    H3DNode parent = graph.addNode(H3DRootNode, "parent", GroupSettings{});
    H3DNode child = graph.addNode(parent, "child", GroupSettings{}, {{0, 0, -2}, {}, {1, 1, 1}});
    graph.setLocalTransform(parent, {{3, 0, 0}, {}, {2, 2, 2}});
    graph.refreshWorldMatrices();
    EXPECT_FALSE(graph.find(parent)->worldDirty);
    EXPECT_FALSE(graph.find(child)->worldDirty);
    EXPECT_EQ(glm::vec3(graph.find(child)->world[3]), glm::vec3(3, 0, -4));
}

TEST(SceneGraph, TheObjectsVersionIgnoresCameras) {
    SceneGraph graph;
    H3DNode camera = graph.addNode(H3DRootNode, "camera", CameraSettings{});
    H3DNode lamp = graph.addNode(H3DRootNode, "lamp", LightSettings{});
    graph.refreshWorldMatrices();
    const std::uint64_t settled = graph.objectsVersion();

    graph.setLocalTransform(camera, {{1, 2, 3}, {0, 90, 0}, {1, 1, 1}});
    graph.refreshWorldMatrices();
    EXPECT_EQ(graph.objectsVersion(), settled);

    graph.setLocalTransform(lamp, {{1, 2, 3}, {}, {1, 1, 1}});
    graph.refreshWorldMatrices();
    EXPECT_GT(graph.objectsVersion(), settled);
    const std::uint64_t moved = graph.objectsVersion();
    graph.removeNode(lamp);
    EXPECT_GT(graph.objectsVersion(), moved);
}

TEST(SceneGraph, RefreshingReachesNodesBelowOnesAlreadyBroughtUpToDate) {
    SceneGraph graph;
    const H3DNode top = graph.addNode(H3DRootNode, "top", GroupSettings{});
    const H3DNode middle = graph.addNode(top, "middle", GroupSettings{});
    const H3DNode bottom = graph.addNode(middle, "bottom", GroupSettings{});
    const H3DNode aside = graph.addNode(H3DRootNode, "aside", GroupSettings{});
    graph.refreshWorldMatrices();

    NodeTransform moved;
    moved.translation = glm::vec3(1, 0, 0);
    graph.setLocalTransform(top, moved);
    // Cleans top and middle only; bottom stays dirty below them.
    expectNear(glm::vec3(graph.worldMatrix(middle)[3]), glm::vec3(1, 0, 0));
    graph.refreshWorldMatrices();
    expectNear(glm::vec3(graph.find(bottom)->world[3]), glm::vec3(1, 0, 0));

    // Nested marks, inner first: each node is brought up to date from its new parent.
    NodeTransform up;
    up.translation = glm::vec3(0, 2, 0);
    graph.setLocalTransform(middle, up);
    graph.setLocalTransform(top, up);
    graph.setLocalTransform(aside, up);
    graph.refreshWorldMatrices();
    expectNear(glm::vec3(graph.find(bottom)->world[3]), glm::vec3(0, 4, 0));
    expectNear(glm::vec3(graph.find(aside)->world[3]), glm::vec3(0, 2, 0));
    EXPECT_FALSE(graph.find(bottom)->worldDirty);
}
