// What a picture that depends only on where the camera looks (the sky at infinity) was drawn
// for, so that it can be reused while the camera merely moves.
#pragma once

#include <cmath>
#include <cstdint>

#include <glm/mat4x4.hpp>

#include "engine/h3d.h"

namespace engine {

struct ViewKey {
    bool valid = false;
    H3DNode camera = 0;
    // Projection times the view's rotation: everything that places a point at infinity.
    glm::mat4 directionProjection{1.0f};
    std::uint64_t objectsVersion = 0;
    std::uint64_t targetsGeneration = 0;

    // Directions closer than this (about a hundredth of a degree) count as the same: a turn
    // that small moves the picture by less than a pixel.
    bool sameAs(const ViewKey& other) const {
        if (!valid || !other.valid || camera != other.camera ||
            objectsVersion != other.objectsVersion ||
            targetsGeneration != other.targetsGeneration) {
            return false;
        }
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                if (std::fabs(directionProjection[column][row] -
                              other.directionProjection[column][row]) > 2e-4f) {
                    return false;
                }
            }
        }
        return true;
    }
};

}  // namespace engine
