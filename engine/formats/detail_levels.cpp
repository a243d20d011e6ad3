#include "engine/formats/detail_levels.h"

#include <unordered_map>
#include <vector>

#include <meshoptimizer.h>

namespace engine {
namespace {

constexpr std::uint32_t kFewestLevelTriangles = 64;
// A level that keeps more than this share of the one before it is not worth its indices.
constexpr float kLeastReduction = 0.8f;
// Larger lists are first tried on their first this many triangles: a list that cannot be
// simplified (many small closed parts merged into one, each edge a seam) costs as much to try
// as one that can, about a second a million triangles.
constexpr std::size_t kProbedTriangles = 16384;
constexpr std::size_t kMostCarefullySimplifiedTriangles = 262144;

std::vector<std::uint32_t> indicesOf(const GeometryDesc& geometry,
                                     const GeometryPrimitive& primitive);
bool halves(const std::vector<std::uint32_t>& indices, std::size_t count, const float* positions,
            std::uint32_t* simplified, float* error);
void addLevels(GeometryDesc& geometry, GeometryPrimitive& primitive);

}  // namespace

void addDetailLevels(GeometryDesc& geometry) {
    for (GeometryMesh& mesh : geometry.meshes) {
        // Meshes that bend are drawn in full: a level simplified in the rest pose would not
        // hold in others.
        if (mesh.skinned() || !mesh.weights.empty()) {
            continue;
        }
        for (GeometryPrimitive& primitive : mesh.primitives) {
            if (primitive.shape == PrimitiveShape::Triangles &&
                primitive.indexCount / 3 >= kLeastSimplifiedTriangles) {
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
    std::vector<std::uint32_t> simplified(previous.size());
    float levelError = 0.0f;
    // Its first triangles stand for it: in the order files keep them, they lie together.
    if (previous.size() > 3 * kProbedTriangles &&
        !halves(previous, 3 * kProbedTriangles, positions, simplified.data(), &levelError)) {
        return;
    }
    float error = 0.0f;
    while (primitive.levels.size() < kMostDetailLevels &&
           previous.size() / 3 >= 2 * kFewestLevelTriangles) {
        simplified.resize(previous.size());
        // The careful simplifier takes about a second a million triangles; the sloppy one, which
        // merges vertices on a grid, a tenth of that: it makes the levels of very large lists,
        // which are drawn only from afar, so that such a file's first frame is not held back.
        const std::size_t kept =
            previous.size() / 3 > kMostCarefullySimplifiedTriangles
                ? meshopt_simplifySloppy(simplified.data(), previous.data(), previous.size(),
                                         positions, primitive.vertexCount, sizeof(GeometryVertex),
                                         previous.size() / 2, 1.0f, &levelError)
                : meshopt_simplify(simplified.data(), previous.data(), previous.size(), positions,
                                   primitive.vertexCount, sizeof(GeometryVertex),
                                   previous.size() / 2, 1.0f, 0, &levelError);
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
        previous.swap(simplified);
    }
}

// Whether the first count indices simplify to a worthwhile level. Tried on a copy of just the
// vertices they use, since simplifying costs time in proportion to the vertices as well.
bool halves(const std::vector<std::uint32_t>& indices, std::size_t count, const float* positions,
            std::uint32_t* simplified, float* error) {
    std::unordered_map<std::uint32_t, std::uint32_t> compactOf;
    std::vector<std::uint32_t> compactIndices;
    std::vector<float> compactPositions;
    compactIndices.reserve(count);
    const std::size_t stride = sizeof(GeometryVertex) / sizeof(float);
    for (std::size_t corner = 0; corner < count; ++corner) {
        const auto [entry, added] = compactOf.emplace(
            indices[corner], static_cast<std::uint32_t>(compactPositions.size() / 3));
        if (added) {
            const float* position = positions + stride * indices[corner];
            compactPositions.insert(compactPositions.end(), position, position + 3);
        }
        compactIndices.push_back(entry->second);
    }
    const std::size_t kept =
        meshopt_simplify(simplified, compactIndices.data(), count, compactPositions.data(),
                         compactPositions.size() / 3, 3 * sizeof(float), count / 2, 1.0f, 0, error);
    return kept > 0 && static_cast<float>(kept) <= kLeastReduction * static_cast<float>(count);
}

}  // namespace
}  // namespace engine
