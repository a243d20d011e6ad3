#include "engine/formats/gltf_lights.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/vector_relational.hpp>

#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

constexpr float kPi = 3.14159265358979f;

float finiteOr(double value, float fallback) {
    return std::isfinite(value) ? static_cast<float>(value) : fallback;
}

GeometryLight readLight(const tinygltf::Light& source, std::size_t index,
                        std::vector<std::string>& warnings) {
    const std::string label =
        "light " + (source.name.empty() ? std::to_string(index) : quotedExcerpt(source.name));
    GeometryLight light;
    light.name = source.name;
    if (source.type == "spot") {
        light.shape = LightShape::Spot;
    } else if (source.type == "directional") {
        light.shape = LightShape::Directional;
    } else if (source.type != "point") {
        warnings.push_back(label + " has the unknown type " + quotedExcerpt(source.type) +
                           " and shines as a point light");
    }
    glm::vec3 color(1.0f);
    if (source.color.size() == 3) {
        for (int channel = 0; channel < 3; ++channel) {
            color[channel] = finiteOr(source.color[static_cast<std::size_t>(channel)], 1.0f);
        }
    }
    float intensity = finiteOr(source.intensity, 1.0f);
    if (intensity < 0.0f || glm::any(glm::lessThan(color, glm::vec3(0.0f)))) {
        warnings.push_back(label + " has a negative colour or intensity, taken as 0");
        intensity = std::max(intensity, 0.0f);
        color = glm::max(color, glm::vec3(0.0f));
    }
    light.color = color * (intensity / kPi);
    light.range = std::max(finiteOr(source.range, 0.0f), 0.0f);
    if (light.shape == LightShape::Spot) {
        const float outer = finiteOr(source.spot.outerConeAngle, kPi / 4.0f);
        const float inner = finiteOr(source.spot.innerConeAngle, 0.0f);
        light.outerConeAngle = std::clamp(outer, 1e-3f, kPi / 2.0f);
        light.innerConeAngle = std::clamp(inner, 0.0f, light.outerConeAngle * 0.999f);
        if (light.outerConeAngle != outer || light.innerConeAngle != inner) {
            warnings.push_back(label +
                               " has cone angles outside 0 <= inner < outer <= pi/2; "
                               "they were clamped");
        }
    }
    return light;
}

}  // namespace

std::vector<GeometryLight> readGltfLights(const tinygltf::Model& model,
                                          std::vector<std::string>& warnings) {
    std::vector<GeometryLight> lights;
    for (std::size_t index = 0; index < model.lights.size(); ++index) {
        lights.push_back(readLight(model.lights[index], index, warnings));
    }
    return lights;
}

int nodeLight(const tinygltf::Node& node) {
    auto found = node.extensions.find("KHR_lights_punctual");
    if (found == node.extensions.end() || !found->second.Has("light")) {
        return -1;
    }
    const tinygltf::Value& light = found->second.Get("light");
    return light.IsInt() || light.IsNumber() ? light.GetNumberAsInt() : -1;
}

}  // namespace engine
