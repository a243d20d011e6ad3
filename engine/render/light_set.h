// The lights one frame is lit with: those whose reach touches the view, at most kMaximumLights,
// the nearest to the camera first (directional lights count as nearest), except that the
// shadow-casting light always comes first.
#pragma once

#include <array>
#include <vector>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/gpu/engine_uniforms.h"
#include "engine/render/frustum.h"
#include "engine/render/scene_collector.h"

namespace engine {

struct LightSet {
    int count = 0;
    // As the shaders read them: xyz position, w = 1 / radius^2.
    std::array<glm::vec4, kMaximumLights> positions{};
    // rgb colour, a = 1 for the light whose shadow map is bound (entry 0 only).
    std::array<glm::vec4, kMaximumLights> colors{};
    // xyz the way it shines, w = 1 for a directional light.
    std::array<glm::vec4, kMaximumLights> directions{};
    // x, y: scale and offset that take the cosine of the angle off the axis to the spot's
    // brightness (0, 1 for lights without a cone); z = 1 for lights that fade with 1 / d^2.
    std::array<glm::vec4, kMaximumLights> cones{};
    // How many entries from the first are plain point lights (no cone, no 1 / d^2), which
    // shaders may light with the cheaper formula; the others come after them.
    int plainCount = 0;
    // The light that casts shadows, when it lights this frame.
    const SceneLight* shadowLight = nullptr;
};

// Whether the set's first light, the one lit per pixel, may light anything in the box; false
// when the set has no light.
bool keyLightMayReach(const LightSet& lights, const BoundingBox& box);

class LightSelector {
  public:
    // The first shadow-casting light (in node order) is the one that casts shadows.
    const LightSet& select(const std::vector<SceneLight>& lights, const Frustum& view,
                           const glm::vec3& cameraPosition);

  private:
    LightSet set_;
    // Kept between frames so that its storage is reused.
    std::vector<const SceneLight*> candidates_;
};

}  // namespace engine
