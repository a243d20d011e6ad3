#include "mesh_checks.h"

#include <algorithm>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "generated_content.h"

namespace content_tests {

std::size_t triangleCount(const GlbFile& file) {
    std::size_t triangles = 0;
    for (const GlbMesh& mesh : file.meshes) {
        for (const GlbPrimitive& primitive : mesh.primitives) {
            triangles += primitive.indices.size() / 3;
        }
    }
    return triangles;
}

std::size_t primitiveCount(const GlbFile& file) {
    std::size_t primitives = 0;
    for (const GlbMesh& mesh : file.meshes) {
        primitives += mesh.primitives.size();
    }
    return primitives;
}

std::vector<std::string> meshNames(const GlbFile& file) {
    std::vector<std::string> names;
    for (const GlbMesh& mesh : file.meshes) {
        names.push_back(mesh.name);
    }
    return names;
}

GlbFile generatedModel(const std::string& name) {
    return readGlb(generatedFile(name));
}

Bounds boundsOf(const GlbFile& file) {
    Bounds bounds;
    for (const GlbMesh& mesh : file.meshes) {
        for (const GlbPrimitive& primitive : mesh.primitives) {
            for (glm::vec3 position : primitive.positions) {
                bounds.low = glm::min(bounds.low, position);
                bounds.high = glm::max(bounds.high, position);
            }
        }
    }
    return bounds;
}

float radiusAroundOrigin(const GlbFile& file) {
    float radius = 0.0f;
    for (const GlbMesh& mesh : file.meshes) {
        for (const GlbPrimitive& primitive : mesh.primitives) {
            for (glm::vec3 position : primitive.positions) {
                radius = std::max(radius, glm::length(position));
            }
        }
    }
    return radius;
}

float shareWindingAlongNormals(const GlbPrimitive& primitive) {
    std::size_t agreeing = 0;
    const std::size_t triangles = primitive.indices.size() / 3;
    for (std::size_t i = 0; i < triangles; ++i) {
        const std::uint32_t a = primitive.indices[3 * i];
        const std::uint32_t b = primitive.indices[3 * i + 1];
        const std::uint32_t c = primitive.indices[3 * i + 2];
        const glm::vec3 face = glm::cross(primitive.positions[b] - primitive.positions[a],
                                          primitive.positions[c] - primitive.positions[a]);
        const glm::vec3 normals =
            primitive.normals[a] + primitive.normals[b] + primitive.normals[c];
        if (glm::dot(face, normals) > 0.0f) {
            ++agreeing;
        }
    }
    return triangles == 0 ? 0.0f : static_cast<float>(agreeing) / static_cast<float>(triangles);
}

}  // namespace content_tests
