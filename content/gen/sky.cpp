#include "sky.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <glm/geometric.hpp>

#include "mesh_builder.h"
#include "noise.h"
#include "vector_math.h"

namespace content {
namespace {

// Star cells per unit of direction; one cell spans about five pixels of a face.
constexpr float kStarGrid = 60.0f;
// A star lights pixels within this many cells of its centre, so it is always found from the
// neighbouring cells of any pixel it touches.
constexpr float kStarReach = 0.45f;
constexpr float kStarChance = 0.16f;
// The nebula is smooth, so it is evaluated on a coarser grid per face and interpolated. The grid
// includes the face's edges, where neighbouring faces compute the very same directions.
constexpr int kNebulaGrid = 256;

glm::vec3 nebula(glm::vec3 direction) {
    const glm::vec3 bandNormal = glm::normalize(glm::vec3(0.3f, 1.0f, -0.25f));
    const float band = std::exp(-std::pow(glm::dot(direction, bandNormal) / 0.45f, 2.0f));
    const float density = fractalNoise3(direction * 1.7f, 6, 101U) + 0.55f * band;
    const float clouds = smoothStep(-0.05f, 0.75f, density);
    const float hue = smoothStep(-0.35f, 0.35f, fractalNoise3(direction * 2.4f + 5.0f, 4, 202U));
    const float wisps = 1.0f - std::fabs(fractalNoise3(direction * 4.5f, 5, 303U));
    const float dust = smoothStep(0.15f, 0.55f, fractalNoise3(direction * 3.1f, 5, 404U));
    const glm::vec3 deepBlue(0.004f, 0.006f, 0.03f);
    const glm::vec3 blue(0.08f, 0.12f, 0.42f);
    const glm::vec3 violet(0.33f, 0.09f, 0.45f);
    const glm::vec3 rose(0.55f, 0.2f, 0.5f);
    const glm::vec3 cloudColor = glm::mix(blue, violet, hue);
    glm::vec3 color = deepBlue + 0.05f * band * blue;
    color += cloudColor * clouds * (0.35f + 0.65f * wisps * wisps * wisps);
    color += rose * std::pow(clouds * wisps, 6.0f) * 0.6f;
    return color * (1.0f - 0.65f * dust);
}

// A faint star is far likelier than a bright one; hot stars are blue, cool ones amber.
glm::vec3 starColor(std::uint32_t hash) {
    const float brightness = std::pow(hashToUnit(hash * 2246822519U + 374761393U), 7.0f);
    const float temperature = hashToUnit(hash * 3266489917U + 668265263U);
    const glm::vec3 tint = temperature < 0.3f   ? glm::vec3(0.75f, 0.85f, 1.0f)
                           : temperature < 0.8f ? glm::vec3(1.0f, 1.0f, 0.97f)
                                                : glm::vec3(1.0f, 0.85f, 0.65f);
    return tint * (0.25f + 2.5f * brightness);
}

glm::vec3 starFromCell(glm::ivec3 cell, glm::vec3 point) {
    const std::uint32_t hash = hashCell(cell.x, cell.y, cell.z, 0x5EEDU);
    if (hashToUnit(hash) >= kStarChance) {
        return glm::vec3(0.0f);
    }
    const glm::vec3 offset(hashToUnit(hash * 1664525U + 1013904223U),
                           hashToUnit(hash * 22695477U + 1U), hashToUnit(hash * 134775813U + 1U));
    const glm::vec3 star = glm::vec3(cell) + offset;
    const float starDistance = glm::length(star);
    // Only stars near the sphere count, so each one shows in one place.
    if (std::fabs(starDistance - kStarGrid) > 0.5f) {
        return glm::vec3(0.0f);
    }
    const float apart = glm::length(star * (kStarGrid / starDistance) - point);
    if (apart >= kStarReach) {
        return glm::vec3(0.0f);
    }
    const float spread = 0.1f + 0.05f * hashToUnit(hash * 747796405U + 2891336453U);
    return starColor(hash) * std::exp(-(apart * apart) / (spread * spread));
}

glm::vec3 starlight(glm::vec3 direction) {
    const glm::vec3 point = direction * kStarGrid;
    const glm::ivec3 base(glm::floor(point));
    glm::vec3 light(0.0f);
    for (int dz = -1; dz <= 1; ++dz) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                light += starFromCell(base + glm::ivec3(dx, dy, dz), point);
            }
        }
    }
    return light;
}

// Directions through grid points from edge to edge: s and t run over [-1, 1] inclusive.
std::vector<glm::vec3> nebulaGrid(int face) {
    std::vector<glm::vec3> grid;
    for (int row = 0; row <= kNebulaGrid; ++row) {
        for (int column = 0; column <= kNebulaGrid; ++column) {
            const glm::vec3 direction =
                cubeFaceDirectionAt(face, 2.0f * static_cast<float>(column) / kNebulaGrid - 1.0f,
                                    2.0f * static_cast<float>(row) / kNebulaGrid - 1.0f);
            grid.push_back(nebula(direction));
        }
    }
    return grid;
}

glm::vec3 sampleGrid(const std::vector<glm::vec3>& grid, int column, int row) {
    const float scale = static_cast<float>(kNebulaGrid) / static_cast<float>(kSkyFaceSize);
    const float x = (static_cast<float>(column) + 0.5f) * scale;
    const float y = (static_cast<float>(row) + 0.5f) * scale;
    const int x0 = std::min(static_cast<int>(x), kNebulaGrid - 1);
    const int y0 = std::min(static_cast<int>(y), kNebulaGrid - 1);
    const float fx = x - static_cast<float>(x0);
    const float fy = y - static_cast<float>(y0);
    const auto at = [&grid](int gx, int gy) {
        return grid[static_cast<std::size_t>(gy * (kNebulaGrid + 1) + gx)];
    };
    return glm::mix(glm::mix(at(x0, y0), at(x0 + 1, y0), fx),
                    glm::mix(at(x0, y0 + 1), at(x0 + 1, y0 + 1), fx), fy);
}

Image renderFace(int face) {
    const std::vector<glm::vec3> grid = nebulaGrid(face);
    Image image(kSkyFaceSize, kSkyFaceSize, 3);
    for (int row = 0; row < kSkyFaceSize; ++row) {
        for (int column = 0; column < kSkyFaceSize; ++column) {
            const glm::vec3 direction = cubeFaceDirection(face, column, row, kSkyFaceSize);
            image.setColor(column, row, sampleGrid(grid, column, row) + starlight(direction));
        }
    }
    return image;
}

}  // namespace

Mesh buildSkyMesh() {
    Mesh cube = box(glm::vec3(1.0f));
    for (Vertex& vertex : cube.vertices) {
        vertex.normal = -vertex.normal;
    }
    for (std::size_t i = 0; i + 2 < cube.indices.size(); i += 3) {
        std::swap(cube.indices[i + 1], cube.indices[i + 2]);
    }
    return cube;
}

std::array<Image, kCubeFaces> renderSkyFaces() {
    std::array<Image, kCubeFaces> faces;
    for (int face = 0; face < kCubeFaces; ++face) {
        faces[static_cast<std::size_t>(face)] = renderFace(face);
    }
    return faces;
}

}  // namespace content
