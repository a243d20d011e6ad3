#include "engine/formats/detail_levels.h"

#include <vector>

#include <meshoptimizer.h>

namespace engine {
namespace {

constexpr std::uint32_t kFewestLevelTriangles = 64;
// A level that keeps more than this share of the one before it is not worth its indices.
constexpr float kLeastReduction = 0.8f;

std::vector<std::uint32_t> indicesOf(const GeometryDesc& geometry,
                                     const GeometryPrimitive& primitive);
void addLevels(GeometryDesc& geometry, GeometryPrimitive& primitive);

}  // namespace

void addDetailLevels(GeometryDesc& geometry) {
    for (GeometryMesh& mesh : geometry.meshes) {
        for (GeometryPrimitive& primitive : mesh.primitives) {
            if (primitive.indexCount / 3 >= kLeastSimplifiedTriangles) {
                addLevels(geometry, primitive);
            }
        }
    }
}

namespace {

std::vector<std::uint32_t> indicesOf(const GeometryDesc& geometry,
                                     const GeometryPrimitive& primitive) {
    if (primitive.wideIndices) {
        const auto first = geometry.longIndices.begin() + primitive.firstIndex;
        return std::vector<std::uint32_t>(first, first + primitive.indexCount);
    }
    const auto first = geometry.shortIndices.begin() + primitive.firstIndex;
    return std::vector<std::uint32_t>(first, first + primitive.indexCount);
}

// Each level simplifies the one before it, which is cheaper than starting from the full list
// each time; the errors add up, so each level records the sum.
void addLevels(GeometryDesc& geometry, GeometryPrimitive& primitive) {
    const float* positions = &geometry.vertices[primitive.firstVertex].position.x;
    const float scale =
        meshopt_simplifyScale(positions, primitive.vertexCount, sizeof(GeometryVertex));
    std::vector<std::uint32_t> previous = indicesOf(geometry, primitive);
    float error = 0.0f;
    while (primitive.levels.size() < kMostDetailLevels &&
           previous.size() / 3 >= 2 * kFewestLevelTriangles) {
        std::vector<std::uint32_t> simplified(previous.size());
        float levelError = 0.0f;
        const std::size_t kept = meshopt_simplify(
            simplified.data(), previous.data(), previous.size(), positions, primitive.vertexCount,
            sizeof(GeometryVertex), previous.size() / 2, 1.0f, 0, &levelError);
        if (kept == 0 || static_cast<float>(kept) > kLeastReduction * previous.size()) {
            return;
        }
        simplified.resize(kept);
        error += levelError * scale;
        GeometryLevel level;
        level.indexCount = static_cast<std::uint32_t>(kept);
        level.error = error;
        if (primitive.wideIndices) {
            level.firstIndex = static_cast<std::uint32_t>(geometry.longIndices.size());
            geometry.longIndices.insert(geometry.longIndices.end(), simplified.begin(),
                                        simplified.end());
        } else {
            level.firstIndex = static_cast<std::uint32_t>(geometry.shortIndices.size());
            geometry.shortIndices.insert(geometry.shortIndices.end(), simplified.begin(),
                                         simplified.end());
        }
        primitive.levels.push_back(level);
        previous = std::move(simplified);
    }
}

}  // namespace
}  // namespace engine
