#include "engine/render/light_set.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

namespace engine {
namespace {

const SceneLight* shadowCaster(const std::vector<SceneLight>& lights) {
    for (const SceneLight& light : lights) {
        // The shadow map is a cube around a point: a light without a place casts none.
        if (light.castsShadows && light.kind != LightKind::Directional) {
            return &light;
        }
    }
    return nullptr;
}

// Where the light shines, as the shaders read it.
void describe(const SceneLight& light, bool castsShadows, glm::vec4& position, glm::vec4& color,
              glm::vec4& direction, glm::vec4& cone) {
    const bool directional = light.kind == LightKind::Directional;
    position = glm::vec4(light.position, directional ? 0.0f : 1.0f / (light.radius * light.radius));
    color = glm::vec4(light.color, castsShadows ? 1.0f : 0.0f);
    direction = glm::vec4(light.direction, directional ? 1.0f : 0.0f);
    cone = glm::vec4(0.0f, 1.0f, light.inverseSquare && !directional ? 1.0f : 0.0f, 0.0f);
    if (light.kind == LightKind::Spot) {
        const float inner = std::cos(light.innerConeAngle);
        const float outer = std::cos(light.outerConeAngle);
        const float scale = 1.0f / std::max(inner - outer, 1e-4f);
        cone.x = scale;
        cone.y = -outer * scale;
    }
}

bool reachesView(const SceneLight& light, const Frustum& view) {
    return light.kind == LightKind::Directional ||
           (light.radius > 0.0f && view.mayContain(light.position, light.radius));
}

bool isPlain(const SceneLight& light) {
    return light.kind == LightKind::Point && !light.inverseSquare;
}

float distanceFrom(const SceneLight& light, const glm::vec3& cameraPosition) {
    return light.kind == LightKind::Directional ? 0.0f
                                                : glm::distance(light.position, cameraPosition);
}

}  // namespace

bool keyLightMayReach(const LightSet& lights, const BoundingBox& box) {
    if (lights.count == 0 || box.empty()) {
        return false;
    }
    if (lights.directions[0].w > 0.0f) {
        return true;
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
        if (&light != caster && reachesView(light, view)) {
            candidates_.push_back(&light);
        }
    }
    std::sort(candidates_.begin(), candidates_.end(),
              [&cameraPosition](const SceneLight* a, const SceneLight* b) {
                  return distanceFrom(*a, cameraPosition) < distanceFrom(*b, cameraPosition);
              });
    set_ = LightSet();
    if (caster != nullptr && reachesView(*caster, view)) {
        set_.shadowLight = caster;
        candidates_.insert(candidates_.begin(), caster);
    }
    // Plain point lights go first (after the key light), so that shaders light them with the
    // cheap formula and only the others with the full one.
    const std::size_t chosen = std::min(candidates_.size(), std::size_t{kMaximumLights});
    const auto plainEnd = std::stable_partition(
        candidates_.begin() + (chosen > 0 ? 1 : 0), candidates_.begin() + chosen,
        [](const SceneLight* light) { return isPlain(*light); });
    set_.plainCount = chosen > 0 && isPlain(*candidates_.front())
                          ? static_cast<int>(plainEnd - candidates_.begin())
                          : 0;
    for (const SceneLight* light : candidates_) {
        if (set_.count == kMaximumLights) {
            break;
        }
        const auto slot = static_cast<std::size_t>(set_.count++);
        describe(*light, light == set_.shadowLight, set_.positions[slot], set_.colors[slot],
                 set_.directions[slot], set_.cones[slot]);
    }
    return set_;
}

}  // namespace engine
