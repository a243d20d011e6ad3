#include "mesh_builder.h"

#include <array>
#include <cmath>
#include <map>

#include <glm/geometric.hpp>

#include "vector_math.h"

namespace content {
namespace {

// Points closer than this are one point when normals are shared.
constexpr float kWeldGrid = 1e-4f;

using PositionKey = std::array<long, 3>;

PositionKey keyOf(glm::vec3 position) {
    return {std::lround(position.x / kWeldGrid), std::lround(position.y / kWeldGrid),
            std::lround(position.z / kWeldGrid)};
}

// Triangles collapsed at a pole or tip carry no surface; leaving them out saves triangles.
void addUnlessDegenerate(std::uint32_t a, std::uint32_t b, std::uint32_t c, Mesh& mesh) {
    const PositionKey ka = keyOf(mesh.vertices[a].position);
    const PositionKey kb = keyOf(mesh.vertices[b].position);
    const PositionKey kc = keyOf(mesh.vertices[c].position);
    if (ka != kb && kb != kc && kc != ka) {
        mesh.addTriangle(a, b, c);
    }
}

void addGridTriangles(int columns, int rows, Mesh& mesh) {
    const auto stride = static_cast<std::uint32_t>(columns + 1);
    for (std::uint32_t row = 0; row < static_cast<std::uint32_t>(rows); ++row) {
        for (std::uint32_t column = 0; column < static_cast<std::uint32_t>(columns); ++column) {
            const std::uint32_t a = row * stride + column;
            const std::uint32_t b = a + 1;
            const std::uint32_t c = b + stride;
            const std::uint32_t d = a + stride;
            addUnlessDegenerate(a, b, c, mesh);
            addUnlessDegenerate(a, c, d, mesh);
        }
    }
}

std::vector<float> profileLengths(const std::vector<ProfilePoint>& profile) {
    std::vector<float> lengths(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const glm::vec2 step(profile[i].radius - profile[i - 1].radius,
                             profile[i].height - profile[i - 1].height);
        lengths[i] = lengths[i - 1] + glm::length(step);
    }
    return lengths;
}

void addBoxFace(glm::vec3 normal, glm::vec3 side, glm::vec3 up, Mesh& mesh) {
    const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
    const std::array<glm::vec2, 4> corners{{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
    for (glm::vec2 corner : corners) {
        const glm::vec3 position = normal + side * corner.x + up * corner.y;
        mesh.vertices.push_back({position, normal, (corner + 1.0f) * 0.5f});
    }
    mesh.addTriangle(base, base + 1, base + 2);
    mesh.addTriangle(base, base + 2, base + 3);
}

}  // namespace

SurfaceGrid sampleSurface(int columns, int rows, const SurfaceFunction& surface,
                          glm::vec2 uvScale) {
    SurfaceGrid grid{columns, rows, {}, {}};
    for (int row = 0; row <= rows; ++row) {
        const float v = static_cast<float>(row) / static_cast<float>(rows);
        for (int column = 0; column <= columns; ++column) {
            const float u = static_cast<float>(column) / static_cast<float>(columns);
            grid.positions.push_back(surface(u, v));
            grid.uvs.emplace_back(u * uvScale.x, v * uvScale.y);
        }
    }
    return grid;
}

Mesh meshFromGrid(const SurfaceGrid& grid) {
    Mesh mesh;
    const int stride = grid.columns + 1;
    for (int row = 0; row <= grid.rows; ++row) {
        for (int column = 0; column <= grid.columns; ++column) {
            // The closing column repeats the first exactly, so the seam welds.
            const int source = column == grid.columns ? row * stride : row * stride + column;
            Vertex vertex;
            vertex.position = grid.positions[static_cast<std::size_t>(source)];
            vertex.uv = grid.uvs[static_cast<std::size_t>(row * stride + column)];
            mesh.vertices.push_back(vertex);
        }
    }
    addGridTriangles(grid.columns, grid.rows, mesh);
    computeSmoothNormals(mesh);
    return mesh;
}

void computeSmoothNormals(Mesh& mesh) {
    std::map<PositionKey, glm::vec3> sums;
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const glm::vec3 a = mesh.vertices[mesh.indices[i]].position;
        const glm::vec3 b = mesh.vertices[mesh.indices[i + 1]].position;
        const glm::vec3 c = mesh.vertices[mesh.indices[i + 2]].position;
        const glm::vec3 areaNormal = glm::cross(b - a, c - a);
        for (std::size_t corner = 0; corner < 3; ++corner) {
            sums[keyOf(mesh.vertices[mesh.indices[i + corner]].position)] += areaNormal;
        }
    }
    for (Vertex& vertex : mesh.vertices) {
        const glm::vec3 sum = sums[keyOf(vertex.position)];
        const float length = glm::length(sum);
        vertex.normal = length > 0.0f ? sum / length : glm::vec3(0.0f, 1.0f, 0.0f);
    }
}

Mesh surfaceOfRevolution(const std::vector<ProfilePoint>& profile, int segments, float vScale) {
    const std::vector<float> lengths = profileLengths(profile);
    SurfaceGrid grid{segments, static_cast<int>(profile.size()) - 1, {}, {}};
    for (std::size_t row = 0; row < profile.size(); ++row) {
        for (int column = 0; column <= segments; ++column) {
            const float u = static_cast<float>(column) / static_cast<float>(segments);
            const float angle = u * kTwoPi;
            const ProfilePoint point = profile[row];
            grid.positions.emplace_back(point.radius * std::cos(angle), point.height,
                                        -point.radius * std::sin(angle));
            grid.uvs.emplace_back(u, lengths[row] * vScale);
        }
    }
    return meshFromGrid(grid);
}

Mesh box(glm::vec3 halfExtent) {
    Mesh mesh;
    const glm::vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    addBoxFace(x, -z, y, mesh);
    addBoxFace(-x, z, y, mesh);
    addBoxFace(y, x, -z, mesh);
    addBoxFace(-y, x, z, mesh);
    addBoxFace(z, x, y, mesh);
    addBoxFace(-z, -x, y, mesh);
    for (Vertex& vertex : mesh.vertices) {
        vertex.position *= halfExtent;
    }
    return mesh;
}

Mesh ellipsoid(glm::vec3 radii, int columns, int rows) {
    const auto surface = [radii](float u, float v) {
        const float polar = v * kPi;
        const float angle = u * kTwoPi;
        const float ring = std::sin(polar);
        return glm::vec3(ring * std::cos(angle), -std::cos(polar), -ring * std::sin(angle)) * radii;
    };
    return meshFromGrid(sampleSurface(columns, rows, surface));
}

}  // namespace content
