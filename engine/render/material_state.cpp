#include "engine/render/material_state.h"

#include <glm/gtc/type_ptr.hpp>

#include "engine/gpu/engine_uniforms.h"
#include "engine/render/material_binding.h"

namespace engine {

int applyMaterialState(const MaterialProgramLocations& locations, const LoadedMaterial& material,
                       const ResourceTable& resources, const StandInTextures& standIns) {
    const std::vector<MaterialTexture>& textures = material.desc.textures;
    int unit = 0;
    for (std::size_t entry = 0; entry < textures.size() && unit < kMostMaterialTextures; ++entry) {
        if (locations.samplers[entry] < 0) {
            continue;
        }
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glBindTexture(
            textures[entry].kind == TextureKind::Cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D,
            materialTexture(material, entry, resources, standIns));
        applyTextureSampling(material, entry, resources);
        glUniform1i(locations.samplers[entry], unit);
        ++unit;
    }
    glActiveTexture(GL_TEXTURE0);
    const std::vector<MaterialUniform>& uniforms = material.desc.uniforms;
    for (std::size_t entry = 0; entry < uniforms.size(); ++entry) {
        if (locations.uniforms[entry] >= 0) {
            glUniform4fv(locations.uniforms[entry], 1, glm::value_ptr(uniforms[entry].value));
        }
    }
    return unit;
}

}  // namespace engine
