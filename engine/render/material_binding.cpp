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

namespace {

GLint wrapMode(TextureWrap wrap) {
    switch (wrap) {
        case TextureWrap::ClampToEdge:
            return GL_CLAMP_TO_EDGE;
        case TextureWrap::MirroredRepeat:
            return GL_MIRRORED_REPEAT;
        case TextureWrap::Repeat:
            break;
    }
    return GL_REPEAT;
}

}  // namespace

void applyTextureSampling(const LoadedMaterial& material, std::size_t entry,
                          const ResourceTable& resources) {
    const MaterialTexture& sampled = material.desc.textures[entry];
    const Resource* resource = entry < material.textures.size()
                                   ? resources.get(material.textures[entry], ResourceType::Texture)
                                   : nullptr;
    auto* texture = resource != nullptr ? resource->payloadAs<LoadedTexture>() : nullptr;
    if (texture == nullptr || texture->target != GL_TEXTURE_2D ||
        sampled.kind != TextureKind::Flat) {
        return;
    }
    const bool mipmapped = texture->smoothMinify != GL_LINEAR;
    TextureParameters wanted;
    wanted.wrapS = wrapMode(sampled.wrapS);
    wanted.wrapT = wrapMode(sampled.wrapT);
    wanted.minify = sampled.minify == TextureFilter::Linear ? texture->smoothMinify
                    : mipmapped                             ? GL_NEAREST_MIPMAP_NEAREST
                                                            : GL_NEAREST;
    wanted.magnify = sampled.magnify == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
    changeTextureParameters(texture->parameters, wanted);
}

}  // namespace engine
