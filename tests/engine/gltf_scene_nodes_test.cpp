#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_geometry.h"
#include "engine/formats/gltf_scene_nodes.h"
#include "gltf_raw_file.h"
#include "gltf_side_files.h"

using namespace engine;
using gltf_test::RawFile;

namespace {

using gltf_test::kNoSideFiles;

// One triangle mesh named "shape", placed by the nodes and scenes given.
RawFile triangleFile(const std::string& nodes, const std::string& scenes = "[]") {
    RawFile file;
    const std::vector<float> positions{0, 0, 0, 1, 0, 0, 0, 1, 0};
    file.addAccessor(file.addView(gltf_test::bytesOf(positions)), gltf_test::kFloat, 3, "VEC3");
    file.meshes = "[{\"name\":\"shape\",\"primitives\":[{\"attributes\":{\"POSITION\":0}}]}]";
    file.nodes = nodes;
    file.scenes = scenes;
    return file;
}

GeometryDesc parsed(const RawFile& file) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(file.glb(), kNoSideFiles);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

std::string errorOf(const RawFile& file) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(file.glb(), kNoSideFiles);
    EXPECT_FALSE(geometry.ok()) << "parsed although it should not";
    return geometry.ok() ? std::string() : geometry.error();
}

glm::mat4 worldOf(const GeometryDesc& geometry, std::size_t node) {
    glm::mat4 world(1.0f);
    for (int at = static_cast<int>(node); at >= 0;
         at = geometry.nodes[static_cast<std::size_t>(at)].parent) {
        world = geometry.nodes[static_cast<std::size_t>(at)].local * world;
    }
    return world;
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

}  // namespace

TEST(GltfSceneNodes, AMeshUsedBySeveralNodesIsReadOnceAndUsedByEach) {
    GeometryDesc geometry = parsed(
        triangleFile("[{\"mesh\":0,\"translation\":[-2,0,0]},{\"mesh\":0,\"translation\":[2,0,0]},"
                     "{\"mesh\":0,\"name\":\"third\"}]",
                     "[{\"nodes\":[0,1,2]}]"));
    ASSERT_EQ(geometry.meshes.size(), 1u);
    EXPECT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.meshes[0].bounds.maximum, glm::vec3(1, 1, 0)) << "meshes stay unmoved";
    ASSERT_EQ(geometry.nodes.size(), 3u);
    const char* names[] = {"node0", "node1", "third"};
    for (std::size_t node = 0; node < 3; ++node) {
        EXPECT_EQ(geometry.nodes[node].mesh, 0);
        EXPECT_EQ(geometry.nodes[node].parent, -1);
        EXPECT_EQ(geometry.nodes[node].name, names[node]);
    }
    EXPECT_EQ(glm::vec3(geometry.nodes[1].local[3]), glm::vec3(2, 0, 0));
}

TEST(GltfSceneNodes, NestedMatrixAndTranslationRotationScaleCompose) {
    // Parent: scale 2 then move by (1, 0, 0), as a matrix in columns. Child: a quarter turn
    // about z, then up by 1.
    GeometryDesc geometry = parsed(
        triangleFile("[{\"matrix\":[2,0,0,0, 0,2,0,0, 0,0,2,0, 1,0,0,1],\"children\":[1]},"
                     "{\"mesh\":0,\"translation\":[0,1,0],\"rotation\":[0,0,0.70710678,0.70710678],"
                     "\"scale\":[1,1,3]}]"));
    ASSERT_EQ(geometry.nodes.size(), 2u);
    EXPECT_EQ(geometry.nodes[0].mesh, -1);
    EXPECT_EQ(geometry.nodes[1].parent, 0);
    const glm::vec4 corner = worldOf(geometry, 1) * glm::vec4(1, 0, 0, 1);
    expectNear(glm::vec3(corner), {1, 4, 0});
}

TEST(GltfSceneNodes, AMirroringNodeKeepsTheFilesWindingForTheRendererToTurn) {
    GeometryDesc geometry = parsed(triangleFile("[{\"mesh\":0,\"scale\":[-1,1,1]}]"));
    ASSERT_EQ(geometry.nodes.size(), 1u);
    EXPECT_LT(glm::determinant(glm::mat3(geometry.nodes[0].local)), 0.0f);
    EXPECT_EQ(geometry.shortIndices, (std::vector<std::uint16_t>{0, 1, 2}));
}

TEST(GltfSceneNodes, TheFilesSceneIsChosenElseTheFirstElseEveryRoot) {
    const std::string nodes = "[{\"mesh\":0},{\"mesh\":0,\"children\":[2]},{\"mesh\":0}]";
    RawFile chosen = triangleFile(nodes, "[{\"nodes\":[0]},{\"nodes\":[1]}]");
    chosen.members = ",\"scene\":1";
    EXPECT_EQ(parsed(chosen).nodes.size(), 2u);
    EXPECT_EQ(parsed(triangleFile(nodes, "[{\"nodes\":[0]},{\"nodes\":[1]}]")).nodes.size(), 1u);
    GeometryDesc roots = parsed(triangleFile(nodes));
    ASSERT_EQ(roots.nodes.size(), 3u);
    EXPECT_EQ(roots.nodes[2].parent, 1);
}

TEST(GltfSceneNodes, CyclesSharedChildrenAndMissingNodesAreRefused) {
    const std::pair<std::string, const char*> cases[] = {
        {"[{\"children\":[1]},{\"children\":[2]},{\"children\":[0]}]", "is its own ancestor"},
        {"[{\"children\":[0]}]", "node 0 is its own child"},
        {"[{\"children\":[2]},{\"children\":[2]},{\"mesh\":0}]",
         "node 2 is listed as a child more than once"},
        {"[{\"children\":[1,1]},{}]", "node 1 is listed as a child more than once"},
        {"[{\"children\":[5]}]", "node 0 names node 5, which does not exist"},
        {"[{\"mesh\":3}]", "node 0 names mesh 3, which does not exist"},
    };
    RawFile twice = triangleFile("[{\"mesh\":0}]", "[{\"nodes\":[0,0]}]");
    EXPECT_NE(errorOf(twice).find("node 0 is reached twice"), std::string::npos);
    for (const auto& [nodes, expected] : cases) {
        // Without scenes every root is drawn; a cycle has none, and must still be caught.
        const std::string error = errorOf(triangleFile(nodes));
        EXPECT_NE(error.find(expected), std::string::npos) << nodes << ": " << error;
    }
}

TEST(GltfSceneNodes, DeepChainsAreWalkedWithoutRecursion) {
    std::string chain = "[";
    const int depth = 50000;
    for (int node = 0; node < depth; ++node) {
        chain +=
            (node > 0 ? ",{\"children\":[" : "{\"children\":[") + std::to_string(node + 1) + "]}";
    }
    chain += ",{\"mesh\":0}]";
    GeometryDesc deep = parsed(triangleFile(chain));
    ASSERT_EQ(deep.nodes.size(), static_cast<std::size_t>(depth + 1));
    EXPECT_EQ(deep.nodes.back().parent, depth - 1);
}

TEST(GltfSceneNodes, TooManyNodesAreRefused) {
    // Built in memory: parsing a million nodes' JSON would take seconds.
    tinygltf::Model model;
    model.nodes.resize(kMaxSceneNodes + 1);
    try {
        sceneNodes(model);
        ADD_FAILURE() << "a scene of too many nodes was taken";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("more than 1000000 nodes"), std::string::npos)
            << error.what();
    }
}
