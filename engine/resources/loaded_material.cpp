#include "engine/resources/loaded_material.h"

#include <algorithm>

namespace engine {

bool LoadedMaterial::setUniform(std::string_view name, const glm::vec4& value) {
    auto found =
        std::find_if(desc.uniforms.begin(), desc.uniforms.end(),
                     [name](const MaterialUniform& uniform) { return uniform.name == name; });
    if (found == desc.uniforms.end()) {
        return false;
    }
    found->value = value;
    return true;
}

const MaterialUniform* LoadedMaterial::findUniform(std::string_view name) const {
    auto found =
        std::find_if(desc.uniforms.begin(), desc.uniforms.end(),
                     [name](const MaterialUniform& uniform) { return uniform.name == name; });
    return found == desc.uniforms.end() ? nullptr : &*found;
}

}  // namespace engine
