// Builds smooth meshes from grids of surface points: u runs around a surface (its last column
// closes onto the first), v runs along it.
#pragma once

#include <functional>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "mesh.h"

namespace content {

// (columns + 1) x (rows + 1) points, row by row. Triangles face along dP/du x dP/dv.
struct SurfaceGrid {
    int columns = 0;
    int rows = 0;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec2> uvs;
};

using SurfaceFunction = std::function<glm::vec3(float u, float v)>;

// Samples the surface at u = i / columns and v = j / rows; texture coordinates are (u, v)
// times uvScale.
SurfaceGrid sampleSurface(int columns, int rows, const SurfaceFunction& surface,
                          glm::vec2 uvScale = {1.0f, 1.0f});

// Triangulates a grid and gives it smooth normals; coinciding points (the seam, poles) share
// their normal.
Mesh meshFromGrid(const SurfaceGrid& grid);

// Replaces every normal with the area-weighted average of the faces around its position.
void computeSmoothNormals(Mesh& mesh);

// A point of a surface of revolution's profile: distance from the y axis and height.
struct ProfilePoint {
    float radius = 0.0f;
    float height = 0.0f;
};

// Revolves one smooth profile (listed bottom to top) around the y axis; v follows the profile's
// length in scene units times vScale.
Mesh surfaceOfRevolution(const std::vector<ProfilePoint>& profile, int segments, float vScale);

// An axis-aligned box with flat faces, centred at the origin.
Mesh box(glm::vec3 halfExtent);

// An ellipsoid centred at the origin; v runs from the -y pole to the +y pole.
Mesh ellipsoid(glm::vec3 radii, int columns, int rows);

}  // namespace content
