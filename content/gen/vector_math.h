// Small vector helpers shared by the organic shapes.
#pragma once

#include <cmath>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

namespace content {

constexpr float kPi = 3.14159265359f;
constexpr float kTwoPi = 6.28318530718f;

inline float radians(float degrees) {
    return degrees * (kPi / 180.0f);
}

// Rodrigues' rotation of v about a unit axis.
inline glm::vec3 rotateAround(glm::vec3 v, glm::vec3 axis, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return v * c + glm::cross(axis, v) * s + axis * glm::dot(axis, v) * (1.0f - c);
}

// Some unit vector perpendicular to a unit direction.
inline glm::vec3 perpendicularTo(glm::vec3 direction) {
    const glm::vec3 axis = std::fabs(direction.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    return glm::normalize(glm::cross(direction, axis));
}

inline float smoothStep(float edge0, float edge1, float x) {
    const float t = glm::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace content
