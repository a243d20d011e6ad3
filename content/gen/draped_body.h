// The statue's robed body from hem to neck: elliptical cross-sections lofted along the height,
// with vertical drapery folds, a forward knee and a slight hip shift.
#pragma once

#include <vector>

#include <glm/vec3.hpp>

#include "mesh.h"

namespace content {

class DrapedBody {
  public:
    DrapedBody();

    static constexpr float kBottom = 0.10f;
    static constexpr float kTop = 2.20f;

    // `angle` turns from +x towards -z (the front is at 3 pi / 2, facing +z).
    glm::vec3 surfacePoint(float angle, float height) const;
    glm::vec3 centre(float height) const;
    Mesh mesh(int columns, int rows) const;

  private:
    float heightAlongOutline(float fraction) const;

    // Outline length from the hem up to each sampled height, so rows spread evenly along it.
    std::vector<float> outlineLengths_;
};

}  // namespace content
