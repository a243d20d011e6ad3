// A glTF file's look: its metallic-roughness materials, with the extensions of
// gltf_material_extensions.h, as material descriptions drawn with the content directory's
// model.shader, and the images they sample as texture resources.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// The shader every glTF material is drawn with; its programs see the define GLTF_MATERIAL.
inline constexpr const char* kGltfMaterialShader = "model.shader";
// Added to a material's name for the unlit copy that its points and lines are drawn with.
inline constexpr const char* kUnlitMaterialSuffix = "#unlit";
// The texture units a material's textures bind to (the engine keeps the four above them for
// its own); the textures of a glTF material after as many are left out.
inline constexpr std::size_t kMaxGltfMaterialTextures = 12;

// The encoded bytes of the images held inside the file (its binary chunk, a buffer or a data
// URI), by image index.
using EmbeddedImages = std::map<int, std::shared_ptr<const std::string>>;

struct GltfLook {
    // One per material of the file, in its order.
    std::vector<NamedMaterial> materials;
    std::vector<GeometryImage> images;
    // Per material: the texture coordinate set its normal map (or, without one, its clearcoat
    // normal map) reads, which tangents follow; -1 for a material without either.
    std::vector<int> normalMapTexCoords;
};

// Values out of range are clamped, textures that do not exist or beyond a material's 13 left
// out, each with a warning; more than 20,000 materials or images throw FormatError.
GltfLook readGltfLook(const tinygltf::Model& model, const EmbeddedImages& embedded,
                      std::string_view resourceName, std::vector<std::string>& warnings);
// What primitives that name no material are drawn with: white, fully metallic and rough.
NamedMaterial defaultGltfMaterial(std::string_view resourceName);

}  // namespace engine
