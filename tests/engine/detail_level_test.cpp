// Levels of detail: the simplified lists made at load, and which of them a node draws at the
// size it has on screen.
#include <gtest/gtest.h>

#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "engine/formats/detail_levels.h"
#include "engine/render/detail_level.h"

using namespace engine;

namespace {

// A bumpy sphere of rows by columns quads as one primitive with 16-bit indices.
GeometryDesc sphere(int rows, int columns) {
    GeometryDesc geometry;
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const float theta = 3.14159265f * static_cast<float>(row) / static_cast<float>(rows);
            const float phi = 6.2831853f * static_cast<float>(column) / static_cast<float>(columns);
            GeometryVertex vertex;
            vertex.position = glm::vec3(std::sin(theta) * std::cos(phi), std::cos(theta),
                                        std::sin(theta) * std::sin(phi));
            vertex.position *= 1.0f + 0.05f * std::sin(5.0f * phi) * std::sin(3.0f * theta);
            geometry.vertices.push_back(vertex);
        }
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const auto corner = static_cast<std::uint16_t>(row * (columns + 1) + column);
            const auto below = static_cast<std::uint16_t>(corner + columns + 1);
            geometry.shortIndices.insert(geometry.shortIndices.end(),
                                         {corner, below, static_cast<std::uint16_t>(corner + 1),
                                          static_cast<std::uint16_t>(corner + 1), below,
                                          static_cast<std::uint16_t>(below + 1)});
        }
    }
    GeometryPrimitive primitive;
    primitive.vertexCount = static_cast<std::uint32_t>(geometry.vertices.size());
    primitive.indexCount = static_cast<std::uint32_t>(geometry.shortIndices.size());
    geometry.meshes.push_back(GeometryMesh{"sphere", {primitive}, BoundingBox{}});
    return geometry;
}

PrimitiveRange rangeWithLevels(std::initializer_list<float> errors) {
    PrimitiveRange primitive;
    primitive.indexCount = 3000;
    GLsizei count = 1500;
    for (float error : errors) {
        primitive.levels.push_back({0, count, error});
        count /= 2;
    }
    return primitive;
}

// A camera 90 degrees high over 200 pixels: 100 pixels per unit at unit distance.
CameraView cameraLooking(float yawDegrees) {
    CameraView camera;
    camera.viewportHeight = 200;
    camera.directionProjection =
        glm::perspective(glm::radians(90.0f), 1.5f, 0.1f, 100.0f) *
        glm::rotate(glm::mat4(1.0f), glm::radians(yawDegrees), glm::vec3(0, 1, 0));
    return camera;
}

BoundingBox unitBoxAt(glm::vec3 center) {
    return BoundingBox{center - glm::vec3(1.0f), center + glm::vec3(1.0f)};
}

// Separate unit boxes, each face with its four corners of its own (as flat shading needs):
// every corner is a seam, nothing simplifies.
GeometryDesc separateBoxes(int count) {
    GeometryDesc geometry;
    for (int box = 0; box < count; ++box) {
        const glm::vec3 center(static_cast<float>(2 * (box % 60)), 0.0f,
                               static_cast<float>(2 * (box / 60)));
        for (int face = 0; face < 6; ++face) {
            glm::vec3 normal(0.0f);
            normal[face / 2] = face % 2 == 0 ? 0.5f : -0.5f;
            glm::vec3 across(0.0f);
            across[(face / 2 + 1) % 3] = 0.5f;
            const glm::vec3 up = 2.0f * glm::cross(normal, across);
            const auto first = static_cast<std::uint32_t>(geometry.vertices.size());
            for (const glm::vec2 corner :
                 {glm::vec2(-1, -1), glm::vec2(1, -1), glm::vec2(1, 1), glm::vec2(-1, 1)}) {
                GeometryVertex vertex;
                vertex.position = center + normal + corner.x * across + corner.y * up;
                geometry.vertices.push_back(vertex);
            }
            for (std::uint32_t corner : {0u, 1u, 2u, 0u, 2u, 3u}) {
                geometry.longIndices.push_back(first + corner);
            }
        }
    }
    GeometryPrimitive primitive;
    primitive.wideIndices = true;
    primitive.vertexCount = static_cast<std::uint32_t>(geometry.vertices.size());
    primitive.indexCount = static_cast<std::uint32_t>(geometry.longIndices.size());
    geometry.meshes.push_back(GeometryMesh{"boxes", {primitive}, BoundingBox{}});
    return geometry;
}

}  // namespace

// The larger sphere is past the size at which its first triangles are tried alone first.
TEST(DetailLevels, LargeListsGetCoarserLevelsWithinTheirVerticesAndSmallOnesNone) {
    GeometryDesc geometry = sphere(128, 128);
    const std::size_t fullIndices = geometry.shortIndices.size();
    addDetailLevels(geometry);
    const GeometryPrimitive& primitive = geometry.meshes[0].primitives[0];
    ASSERT_GE(primitive.levels.size(), 3u);
    std::uint32_t previousCount = primitive.indexCount;
    float previousError = 0.0f;
    for (const GeometryLevel& level : primitive.levels) {
        EXPECT_LT(level.indexCount, previousCount * 0.8f);
        EXPECT_EQ(level.indexCount % 3, 0u);
        EXPECT_GE(level.error, previousError);
        // Appended after the full list, and indexing only the primitive's own vertices.
        EXPECT_GE(level.firstIndex, fullIndices);
        for (std::uint32_t index = 0; index < level.indexCount; ++index) {
            ASSERT_LT(geometry.shortIndices[level.firstIndex + index], primitive.vertexCount);
        }
        previousCount = level.indexCount;
        previousError = level.error;
    }
    // Half a sphere's radius is far more than any sensible simplification strays.
    EXPECT_GT(primitive.levels.back().error, 0.0f);
    EXPECT_LT(primitive.levels.back().error, 0.5f);

    GeometryDesc small = sphere(8, 8);
    addDetailLevels(small);
    EXPECT_TRUE(small.meshes[0].primitives[0].levels.empty());
    GeometryDesc boxes = separateBoxes(3000);
    addDetailLevels(boxes);
    EXPECT_TRUE(boxes.meshes[0].primitives[0].levels.empty());
}

TEST(DetailLevels, TheCoarsestLevelWithinTheAllowedErrorIsChosen) {
    const PrimitiveRange primitive = rangeWithLevels({0.01f, 0.1f, 0.5f});
    EXPECT_EQ(chosenLevel(primitive, 0.0f), nullptr);
    EXPECT_EQ(chosenLevel(primitive, 0.005f), nullptr);
    EXPECT_EQ(chosenLevel(primitive, 0.05f), &primitive.levels[0]);
    EXPECT_EQ(chosenLevel(primitive, 0.25f), &primitive.levels[1]);
    EXPECT_EQ(chosenLevel(primitive, 3.0f), &primitive.levels[2]);
    EXPECT_EQ(chosenLevel(rangeWithLevels({}), 3.0f), nullptr);
}

TEST(DetailLevels, TheAllowedErrorIsAPixelAtTheNodesDistanceInItsOwnUnits) {
    const CameraView camera = cameraLooking(0.0f);
    EXPECT_NEAR(pixelsPerUnitAtUnitDistance(camera), 100.0f, 0.01f);
    EXPECT_NEAR(pixelsPerUnitAtUnitDistance(cameraLooking(70.0f)), 100.0f, 0.01f)
        << "turning the camera changes nothing";
    const float perUnit = pixelsPerUnitAtUnitDistance(camera);
    const glm::mat4 identity(1.0f);
    // The box's nearest face is 50 units away.
    const glm::vec3 eye(0.0f);
    EXPECT_NEAR(allowedDetailError(unitBoxAt({0, 0, -51}), identity, eye, perUnit),
                kDetailPixelError * 0.5f, 1e-4f);
    // Twice as large on screen at half the distance, or when scaled up twice.
    EXPECT_NEAR(allowedDetailError(unitBoxAt({0, 0, -26}), identity, eye, perUnit),
                kDetailPixelError * 0.25f, 1e-4f);
    EXPECT_NEAR(allowedDetailError(unitBoxAt({0, 0, -51}), glm::scale(identity, glm::vec3(1, 2, 1)),
                                   eye, perUnit),
                kDetailPixelError * 0.25f, 1e-4f);
    EXPECT_EQ(allowedDetailError(unitBoxAt({0, 0, -0.5f}), identity, eye, perUnit), 0.0f)
        << "the camera inside the box sees it in full";

    // So a far node draws a coarse level, a near one the full list.
    const PrimitiveRange primitive = rangeWithLevels({0.01f, 0.1f, 0.5f});
    EXPECT_EQ(
        chosenLevel(primitive, allowedDetailError(unitBoxAt({0, 0, -201}), identity, eye, perUnit)),
        &primitive.levels[2]);
    EXPECT_EQ(chosenLevel(primitive,
                          allowedDetailError(unitBoxAt({0, 0, -1.5f}), identity, eye, perUnit)),
              nullptr);
}
