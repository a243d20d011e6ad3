#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <glm/geometric.hpp>

#include "generated_content.h"
#include "glb_reader.h"
#include "mesh_checks.h"

namespace content_tests {
namespace {

struct ModelExpectation {
    std::string file;
    std::vector<std::string> meshes;
    std::size_t maxTrianglesPerMesh;
};

std::vector<ModelExpectation> modelExpectations() {
    std::vector<ModelExpectation> models;
    for (int variant = 0; variant < 6; ++variant) {
        models.push_back(
            {"neuron_" + std::to_string(variant) + ".glb", {"membrane", "terminals"}, 6000});
    }
    models.push_back({"glia.glb", {"cluster_0", "cluster_1", "cluster_2"}, 3000});
    models.push_back({"hebe_statue.glb", {"statue"}, 15000});
    models.push_back({"pedestal.glb", {"pedestal"}, 5000});
    models.push_back({"sky.glb", {"sky"}, 12});
    return models;
}

void expectWellFormed(const GlbPrimitive& primitive, const std::string& where) {
    EXPECT_EQ(primitive.mode, 4) << where;
    ASSERT_FALSE(primitive.positions.empty()) << where;
    ASSERT_EQ(primitive.normals.size(), primitive.positions.size()) << where;
    ASSERT_EQ(primitive.uvs.size(), primitive.positions.size()) << where;
    ASSERT_FALSE(primitive.indices.empty()) << where;
    EXPECT_EQ(primitive.indices.size() % 3, 0U) << where;
    for (std::uint32_t index : primitive.indices) {
        ASSERT_LT(index, primitive.positions.size()) << where;
    }
    for (glm::vec3 normal : primitive.normals) {
        ASSERT_NEAR(glm::length(normal), 1.0f, 1e-3f) << where;
    }
}

void expectBoundsEnclose(const GlbPrimitive& primitive, const std::string& where) {
    glm::vec3 low(1e30f), high(-1e30f);
    for (glm::vec3 position : primitive.positions) {
        for (int axis = 0; axis < 3; ++axis) {
            ASSERT_GE(position[axis], primitive.declaredMin[axis]) << where;
            ASSERT_LE(position[axis], primitive.declaredMax[axis]) << where;
        }
        low = glm::min(low, position);
        high = glm::max(high, position);
    }
    // Tight as well as enclosing: the bounds are the positions' own extremes.
    EXPECT_EQ(low, primitive.declaredMin) << where;
    EXPECT_EQ(high, primitive.declaredMax) << where;
}

TEST(ContentMeshes, EveryModelParsesWithItsNamedMeshesWithinBudget) {
    for (const ModelExpectation& expected : modelExpectations()) {
        const GlbFile model = generatedModel(expected.file);
        EXPECT_EQ(meshNames(model), expected.meshes) << expected.file;
        EXPECT_EQ(static_cast<std::size_t>(model.nodeCount), expected.meshes.size())
            << expected.file;
        for (const GlbMesh& mesh : model.meshes) {
            ASSERT_EQ(mesh.primitives.size(), 1U) << expected.file;
            EXPECT_LE(mesh.primitives[0].indices.size() / 3, expected.maxTrianglesPerMesh)
                << expected.file << " " << mesh.name;
        }
    }
}

TEST(ContentMeshes, IndicesNormalsAndBoundsAreValid) {
    for (const ModelExpectation& expected : modelExpectations()) {
        for (const GlbMesh& mesh : generatedModel(expected.file).meshes) {
            const std::string where = expected.file + " " + mesh.name;
            for (const GlbPrimitive& primitive : mesh.primitives) {
                expectWellFormed(primitive, where);
                expectBoundsEnclose(primitive, where);
            }
        }
    }
}

TEST(ContentMeshes, TrianglesWindTheWayTheirNormalsPoint) {
    for (const ModelExpectation& expected : modelExpectations()) {
        for (const GlbMesh& mesh : generatedModel(expected.file).meshes) {
            for (const GlbPrimitive& primitive : mesh.primitives) {
                EXPECT_GT(shareWindingAlongNormals(primitive), 0.98f)
                    << expected.file << " " << mesh.name;
            }
        }
    }
}

TEST(ContentMeshes, NeuronsAreTenToThirtyUnitsAcross) {
    for (int variant = 0; variant < 6; ++variant) {
        const Bounds bounds =
            boundsOf(generatedModel("neuron_" + std::to_string(variant) + ".glb"));
        const glm::vec3 size = bounds.size();
        const float widest = std::max(size.x, std::max(size.y, size.z));
        EXPECT_GE(widest, 10.0f) << variant;
        EXPECT_LE(widest, 30.0f) << variant;
    }
}

TEST(ContentMeshes, StatueAndPedestalStandOnTheGroundAtTheirHeights) {
    const Bounds statue = boundsOf(generatedModel("hebe_statue.glb"));
    EXPECT_NEAR(statue.low.y, 0.0f, 1e-4f);
    EXPECT_NEAR(statue.high.y, 2.5f, 0.2f);
    const Bounds pedestal = boundsOf(generatedModel("pedestal.glb"));
    EXPECT_NEAR(pedestal.low.y, 0.0f, 1e-4f);
    EXPECT_NEAR(pedestal.high.y, 1.2f, 1e-3f);
    // The statue's base fits on the pedestal's top.
    EXPECT_LE(statue.size().x, pedestal.size().x);
    EXPECT_LE(statue.size().z, pedestal.size().z);
}

TEST(ContentMeshes, SkyIsAUnitCubeFacingInwards) {
    const GlbFile sky = generatedModel("sky.glb");
    ASSERT_EQ(sky.meshes.size(), 1U);
    const GlbPrimitive& cube = sky.meshes[0].primitives[0];
    EXPECT_EQ(cube.indices.size(), 36U);
    for (std::size_t i = 0; i < cube.positions.size(); ++i) {
        EXPECT_NEAR(std::fabs(cube.positions[i].x), 1.0f, 1e-6f);
        EXPECT_LT(glm::dot(cube.normals[i], cube.positions[i]), 0.0f);
    }
}

}  // namespace
}  // namespace content_tests
