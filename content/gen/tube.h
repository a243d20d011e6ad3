// Generalised cylinders: circular rings swept along a curve with parallel-transported frames,
// so that bends do not twist the surface.
#pragma once

#include <vector>

#include <glm/vec3.hpp>

#include "mesh.h"

namespace content {

struct TubeNode {
    glm::vec3 centre{0.0f};
    float radius = 0.1f;
};

struct TubeStyle {
    int sides = 8;
    // Rings of the rounded cap closing the last node; the first node stays open because it
    // starts buried inside the body the tube grows from.
    int capRings = 3;
    // Texture v per scene unit along the curve.
    float vScale = 0.25f;
};

// Needs at least two nodes.
Mesh tube(const std::vector<TubeNode>& path, const TubeStyle& style);

}  // namespace content
