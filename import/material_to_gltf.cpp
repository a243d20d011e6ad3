#include "import/material_to_gltf.h"

#include <algorithm>
#include <cmath>

#include <assimp/GltfMaterial.h>

namespace {

// What a material without a shininess looks like: neither polished nor chalky.
constexpr float kDefaultRoughness = 0.8f;

std::string mimeTypeOf(const char* formatHint) {
    const std::string hint = formatHint;
    if (hint == "jpg" || hint == "jpeg") {
        return "image/jpeg";
    }
    if (hint == "webp") {
        return "image/webp";
    }
    return "image/png";
}

float unit(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

void MaterialWriter::writeAll() {
    for (unsigned index = 0; index < scene_.mNumMaterials; ++index) {
        glb_.append("materials", material(*scene_.mMaterials[index]));
    }
}

nlohmann::json MaterialWriter::material(const aiMaterial& source) {
    nlohmann::json material = nlohmann::json::object();
    aiString name;
    if (source.Get(AI_MATKEY_NAME, name) == AI_SUCCESS) {
        material["name"] = name.C_Str();
    }
    aiColor4D diffuse(1.0f, 1.0f, 1.0f, 1.0f);
    if (source.Get(AI_MATKEY_BASE_COLOR, diffuse) != AI_SUCCESS) {
        source.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    }
    float opacity = 1.0f;
    if (source.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS) {
        diffuse.a *= opacity;
    }
    nlohmann::json pbr = {
        {"baseColorFactor", {unit(diffuse.r), unit(diffuse.g), unit(diffuse.b), unit(diffuse.a)}}};
    float metallic = 0.0f;
    source.Get(AI_MATKEY_METALLIC_FACTOR, metallic);
    float roughness = kDefaultRoughness;
    float shininess = 0.0f;
    if (source.Get(AI_MATKEY_ROUGHNESS_FACTOR, roughness) != AI_SUCCESS &&
        source.Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS && shininess > 0.0f) {
        roughness = roughnessOfShininess(shininess);
    }
    pbr["metallicFactor"] = unit(metallic);
    pbr["roughnessFactor"] = unit(roughness);
    int baseColor = texture(source, aiTextureType_BASE_COLOR);
    if (baseColor < 0) {
        baseColor = texture(source, aiTextureType_DIFFUSE);
    }
    if (baseColor >= 0) {
        pbr["baseColorTexture"] = {{"index", baseColor}};
    }
    material["pbrMetallicRoughness"] = std::move(pbr);

    aiColor3D emissive(0.0f, 0.0f, 0.0f);
    if (source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive) == AI_SUCCESS) {
        material["emissiveFactor"] = {unit(emissive.r), unit(emissive.g), unit(emissive.b)};
    }
    const int emissiveMap = texture(source, aiTextureType_EMISSIVE);
    if (emissiveMap >= 0) {
        material["emissiveTexture"] = {{"index", emissiveMap}};
        if (!material.contains("emissiveFactor")) {
            material["emissiveFactor"] = {1.0f, 1.0f, 1.0f};
        }
    }
    int normalMap = texture(source, aiTextureType_NORMALS);
    if (normalMap < 0) {
        normalMap = texture(source, aiTextureType_NORMAL_CAMERA);
    }
    if (normalMap >= 0) {
        material["normalTexture"] = {{"index", normalMap}};
    }
    if (unit(diffuse.a) < 1.0f) {
        material["alphaMode"] = "BLEND";
    }
    int twoSided = 0;
    if (source.Get(AI_MATKEY_TWOSIDED, twoSided) == AI_SUCCESS && twoSided != 0) {
        material["doubleSided"] = true;
    }
    int shading = 0;
    if (source.Get(AI_MATKEY_SHADING_MODEL, shading) == AI_SUCCESS &&
        (shading == aiShadingMode_NoShading || shading == aiShadingMode_Unlit)) {
        material["extensions"] = {{"KHR_materials_unlit", nlohmann::json::object()}};
        glb_.document()["extensionsUsed"] = {"KHR_materials_unlit"};
    }
    return material;
}

int MaterialWriter::texture(const aiMaterial& source, aiTextureType type) {
    aiString path;
    if (source.GetTextureCount(type) == 0 || source.GetTexture(type, 0, &path) != AI_SUCCESS ||
        path.length == 0) {
        return -1;
    }
    const std::string written = path.C_Str();
    auto known = textures_.find(written);
    if (known != textures_.end()) {
        return known->second;
    }
    int image = -1;
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(written.c_str())) {
        image = embeddedImage(*embedded);
    } else if (std::optional<std::string> file = folder_.find(written, notes_)) {
        image = glb_.append("images", {{"uri", uriOfPath(*file)}});
    } else {
        notes_.push_back("texture '" + written +
                         "' is not found in the model's folder; drawn without it");
    }
    const int index = image < 0 ? -1 : glb_.append("textures", {{"source", image}});
    textures_.emplace(written, index);
    return index;
}

// Encoded images (PNG, JPEG) are kept as they are; raw pixels, which few files hold, are left
// out with a note.
int MaterialWriter::embeddedImage(const aiTexture& texture) {
    if (texture.mHeight != 0 || texture.pcData == nullptr) {
        notes_.push_back("an embedded texture of raw pixels is left out");
        return -1;
    }
    const int view = glb_.addView(texture.pcData, texture.mWidth);
    return glb_.append("images",
                       {{"bufferView", view}, {"mimeType", mimeTypeOf(texture.achFormatHint)}});
}

float roughnessOfShininess(float shininess) {
    // Blinn-Phong exponent n matches a GGX width alpha = sqrt(2 / (n + 2)); roughness is
    // sqrt(alpha).
    const float alpha = std::sqrt(2.0f / (std::max(shininess, 0.0f) + 2.0f));
    return unit(std::sqrt(alpha));
}
