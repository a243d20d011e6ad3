#include "engine/render/material_locations.h"

#include <functional>

namespace engine {
namespace {

MaterialProgramLocations lookUp(const LoadedMaterial& material, GLuint program,
                                const PipelineCommand* quad) {
    MaterialProgramLocations locations;
    for (const MaterialUniform& uniform : material.desc.uniforms) {
        locations.uniforms.push_back(glGetUniformLocation(program, uniform.name.c_str()));
    }
    for (const MaterialTexture& texture : material.desc.textures) {
        locations.samplers.push_back(glGetUniformLocation(program, texture.sampler.c_str()));
    }
    if (quad != nullptr) {
        for (const QuadInput& input : quad->inputs) {
            locations.inputs.push_back(glGetUniformLocation(program, input.sampler.c_str()));
        }
    }
    return locations;
}

}  // namespace

const MaterialProgramLocations& MaterialLocations::find(H3DRes materialHandle,
                                                        const LoadedMaterial& material,
                                                        GLuint program,
                                                        const PipelineCommand* quad) {
    const Key key{materialHandle, program, quad};
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        found = entries_.emplace(key, lookUp(material, program, quad)).first;
    }
    return found->second;
}

std::size_t MaterialLocations::KeyHash::operator()(const Key& key) const {
    std::size_t hash = std::hash<int>()(key.material);
    hash = hash * 31u + std::hash<GLuint>()(key.program);
    return hash * 31u + std::hash<const void*>()(key.quad);
}

}  // namespace engine
