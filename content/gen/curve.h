// Smooth curves through control points.
#pragma once

#include <vector>

#include <glm/vec3.hpp>

namespace content {

// A Catmull-Rom spline through every control point, `samplesPerSpan` points per span plus the
// last control point.
std::vector<glm::vec3> catmullRomPath(const std::vector<glm::vec3>& controls, int samplesPerSpan);

}  // namespace content
