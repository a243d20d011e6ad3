#include "engine/render/material_binding.h"

#include "engine/resources/loaded_texture.h"

namespace engine {

GLuint materialTexture(const LoadedMaterial& material, std::size_t entry,
                       const ResourceTable& resources, const StandInTextures& standIns) {
    const GLenum target = material.desc.textures[entry].kind == TextureKind::Cube
                              ? GL_TEXTURE_CUBE_MAP
                              : GL_TEXTURE_2D;
    const Resource* resource = entry < material.textures.size()
                                   ? resources.get(material.textures[entry], ResourceType::Texture)
                                   : nullptr;
    const auto* texture = resource != nullptr ? resource->payloadAs<LoadedTexture>() : nullptr;
    if (texture == nullptr || texture->target != target) {
        return standIns.forTarget(target);
    }
    return texture->texture.get();
}

}  // namespace engine
