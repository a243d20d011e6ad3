#include "engine/render/light_set.h"

#include <algorithm>

#include <glm/geometric.hpp>

namespace engine {
namespace {

const SceneLight* shadowCaster(const std::vector<SceneLight>& lights) {
    for (const SceneLight& light : lights) {
        if (light.castsShadows) {
            return &light;
        }
    }
    return nullptr;
}

}  // namespace

bool keyLightMayReach(const LightSet& lights, const BoundingBox& box) {
    if (lights.count == 0 || box.empty()) {
        return false;
    }
    const glm::vec3 position(lights.positions[0]);
    const glm::vec3 offset = glm::clamp(position, box.minimum, box.maximum) - position;
    // positions[0].w holds 1 / radius^2.
    return glm::dot(offset, offset) * lights.positions[0].w <= 1.0f;
}

const LightSet& LightSelector::select(const std::vector<SceneLight>& lights, const Frustum& view,
                                      const glm::vec3& cameraPosition) {
    candidates_.clear();
    const SceneLight* caster = shadowCaster(lights);
    for (const SceneLight& light : lights) {
        if (&light != caster && light.radius > 0.0f &&
            view.mayContain(light.position, light.radius)) {
            candidates_.push_back(&light);
        }
    }
    std::sort(candidates_.begin(), candidates_.end(),
              [&cameraPosition](const SceneLight* a, const SceneLight* b) {
                  return glm::distance(a->position, cameraPosition) <
                         glm::distance(b->position, cameraPosition);
              });
    set_ = LightSet();
    if (caster != nullptr && caster->radius > 0.0f &&
        view.mayContain(caster->position, caster->radius)) {
        set_.shadowLight = caster;
        candidates_.insert(candidates_.begin(), caster);
    }
    for (const SceneLight* light : candidates_) {
        if (set_.count == kMaximumLights) {
            break;
        }
        const auto slot = static_cast<std::size_t>(set_.count++);
        set_.positions[slot] = glm::vec4(light->position, 1.0f / (light->radius * light->radius));
        set_.colors[slot] = glm::vec4(light->color, light == set_.shadowLight ? 1.0f : 0.0f);
    }
    return set_;
}

}  // namespace engine
