#include "tube.h"

#include <cmath>

#include <glm/geometric.hpp>

#include "mesh_builder.h"
#include "vector_math.h"

namespace content {
namespace {

constexpr float kHalfPi = 1.57079632679f;

struct Ring {
    glm::vec3 centre;
    glm::vec3 normal;
    glm::vec3 binormal;
    float radius;
    float v;
};

glm::vec3 tangentAt(const std::vector<TubeNode>& path, std::size_t i) {
    const std::size_t before = i == 0 ? 0 : i - 1;
    const std::size_t after = i + 1 < path.size() ? i + 1 : i;
    return glm::normalize(path[after].centre - path[before].centre);
}

// Carries the previous normal onto the plane of the new tangent, which is parallel transport
// for the small turns between neighbouring nodes.
glm::vec3 transportNormal(glm::vec3 normal, glm::vec3 tangent) {
    const glm::vec3 projected = normal - glm::dot(normal, tangent) * tangent;
    const float length = glm::length(projected);
    return length > 1e-6f ? projected / length : perpendicularTo(tangent);
}

std::vector<Ring> pathRings(const std::vector<TubeNode>& path, float vScale) {
    std::vector<Ring> rings;
    glm::vec3 normal = perpendicularTo(tangentAt(path, 0));
    float length = 0.0f;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const glm::vec3 tangent = tangentAt(path, i);
        normal = transportNormal(normal, tangent);
        if (i > 0) {
            length += glm::length(path[i].centre - path[i - 1].centre);
        }
        rings.push_back(
            {path[i].centre, normal, glm::cross(tangent, normal), path[i].radius, length * vScale});
    }
    return rings;
}

void addCapRings(const std::vector<TubeNode>& path, int capRings, float vScale,
                 std::vector<Ring>& rings) {
    const Ring end = rings.back();
    const glm::vec3 tangent = tangentAt(path, path.size() - 1);
    for (int k = 1; k <= capRings; ++k) {
        const float angle = kHalfPi * static_cast<float>(k) / static_cast<float>(capRings);
        const float along = end.radius * std::sin(angle);
        const float radius = k == capRings ? 0.0f : end.radius * std::cos(angle);
        rings.push_back({end.centre + tangent * along, end.normal, end.binormal, radius,
                         end.v + along * vScale});
    }
}

SurfaceGrid gridOfRings(const std::vector<Ring>& rings, int sides) {
    SurfaceGrid grid{sides, static_cast<int>(rings.size()) - 1, {}, {}};
    for (const Ring& ring : rings) {
        for (int side = 0; side <= sides; ++side) {
            const float u = static_cast<float>(side) / static_cast<float>(sides);
            const float angle = u * kTwoPi;
            const glm::vec3 offset =
                std::cos(angle) * ring.normal + std::sin(angle) * ring.binormal;
            grid.positions.push_back(ring.centre + ring.radius * offset);
            grid.uvs.emplace_back(u, ring.v);
        }
    }
    return grid;
}

}  // namespace

Mesh tube(const std::vector<TubeNode>& path, const TubeStyle& style) {
    std::vector<Ring> rings = pathRings(path, style.vScale);
    addCapRings(path, style.capRings, style.vScale, rings);
    return meshFromGrid(gridOfRings(rings, style.sides));
}

}  // namespace content
