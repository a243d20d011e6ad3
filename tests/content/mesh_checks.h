// Geometric checks shared by the mesh tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "glb_reader.h"

namespace content_tests {

std::size_t triangleCount(const GlbFile& file);
std::size_t primitiveCount(const GlbFile& file);
std::vector<std::string> meshNames(const GlbFile& file);
GlbFile generatedModel(const std::string& name);

struct Bounds {
    glm::vec3 low{1e30f};
    glm::vec3 high{-1e30f};
    glm::vec3 size() const { return high - low; }
};
Bounds boundsOf(const GlbFile& file);

// The radius of the sphere around the model's origin that holds every position.
float radiusAroundOrigin(const GlbFile& file);

// The share of triangles whose winding faces the same way as their vertices' normals.
float shareWindingAlongNormals(const GlbPrimitive& primitive);

}  // namespace content_tests
