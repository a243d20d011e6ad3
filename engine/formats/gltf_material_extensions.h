// The glTF material extensions that model.shader draws beside the metallic-roughness core:
// clearcoat, transmission, volume, sheen, specular and ior, read into a material's defines,
// uniforms and textures.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/material_format.h"

namespace engine {

// The extensions read here.
inline constexpr const char* kGltfSurfaceExtensions[] = {
    "KHR_materials_clearcoat", "KHR_materials_transmission", "KHR_materials_volume",
    "KHR_materials_sheen",     "KHR_materials_specular",     "KHR_materials_ior"};

// One texture slot of a material as the file states it: the texture's index (-1 for none), its
// coordinate set, and its KHR_texture_transform (null without one).
struct GltfTextureSlot {
    const char* sampler;
    const char* define;
    int texture;
    int texCoord;
    const tinygltf::Value* transform;
};

// Adds the slot's texture to the material as the core maps are added: the texture under the
// slot's sampler, its define and the <sampler>TransformU/V uniforms. False when the slot names
// no texture that can be drawn.
using GltfTextureAdder = std::function<bool(const GltfTextureSlot&)>;

// KHR_texture_transform among a texture reference's extensions; null without it.
const tinygltf::Value* textureTransform(const tinygltf::ExtensionMap& extensions);

// opticalFactors (ior, transmission, thickness, attenuation distance) of a material without
// the extensions: ior 1.5, opaque, thin, nothing absorbed (distance 0 stands for infinite).
MaterialUniform defaultOpticalFactors();

// Adds what the material's extensions draw: defines and uniforms, and textures through
// addTexture, clearcoat's first, then transmission's, volume's, sheen's and specular's; always
// opticalFactors. A value of the wrong type or out of range is warned about, naming the
// material by its label, and its default (or the nearest value in range) used.
void readGltfSurfaceExtensions(const tinygltf::ExtensionMap& extensions, const std::string& label,
                               const GltfTextureAdder& addTexture, MaterialDesc& material,
                               std::vector<std::string>& warnings);

}  // namespace engine
