#include "engine/formats/gltf_material_extensions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace engine {
namespace {

constexpr float kDefaultIor = 1.5f;
constexpr double kLargestFloat = std::numeric_limits<float>::max();

// Reads one material's extensions. Each member is checked as it is read: a bad one is warned
// about and its default used.
class ExtensionReader {
  public:
    ExtensionReader(const tinygltf::ExtensionMap& extensions, const std::string& label,
                    const GltfTextureAdder& addTexture, MaterialDesc& material,
                    std::vector<std::string>& warnings)
        : extensions_(extensions),
          label_(label),
          addTexture_(addTexture),
          material_(material),
          warnings_(warnings) {}

    void read();

  private:
    const tinygltf::ExtensionMap& extensions_;
    const std::string& label_;
    const GltfTextureAdder& addTexture_;
    MaterialDesc& material_;
    std::vector<std::string>& warnings_;

    // The extension's object; null when the material does not use it.
    const tinygltf::Value* extension(const char* name) const;
    void readClearcoat();
    // Whether the material lets light through (TRANSMISSION); its factor goes to transmission.
    bool readTransmission(float& transmission);
    void readVolume(bool transmits, glm::vec4& opticalFactors);
    void readSheen();
    void readSpecular();
    float readIor();

    // Member readers: absent members give the fallback silently, bad ones with a warning.
    std::optional<double> number(const tinygltf::Value& object, const char* key,
                                 const std::string& fallback, const char* display = nullptr);
    // A number a float holds.
    std::optional<float> finiteNumber(const tinygltf::Value& object, const char* key,
                                      float fallback, const char* display = nullptr);
    // Clamped to 0 to 1.
    float unitFactor(const tinygltf::Value& object, const char* key, float fallback);
    // Three numbers, clamped to 0 to highest (a float's largest when unbounded).
    glm::vec3 color(const tinygltf::Value& object, const char* key, const glm::vec3& fallback,
                    double highest = 1.0);
    // A texture reference, added to the material; false when it is absent or not drawn.
    bool texture(const tinygltf::Value& object, const char* key, const char* sampler,
                 const char* define);
    void warn(const std::string& what, const std::string& problem);
};

MaterialUniform uniform(const std::string& name, const glm::vec4& value);
std::string shown(float value);
std::string shown(const glm::vec3& value);

}  // namespace

const tinygltf::Value* textureTransform(const tinygltf::ExtensionMap& extensions) {
    auto found = extensions.find("KHR_texture_transform");
    return found != extensions.end() ? &found->second : nullptr;
}

MaterialUniform defaultOpticalFactors() {
    return uniform("opticalFactors", glm::vec4(kDefaultIor, 0.0f, 0.0f, 0.0f));
}

void readGltfSurfaceExtensions(const tinygltf::ExtensionMap& extensions, const std::string& label,
                               const GltfTextureAdder& addTexture, MaterialDesc& material,
                               std::vector<std::string>& warnings) {
    ExtensionReader(extensions, label, addTexture, material, warnings).read();
}

namespace {

// Textures are added in the order the extensions are read; opticalFactors gathers the
// transmission, volume and ior of the material.
void ExtensionReader::read() {
    glm::vec4 opticalFactors = defaultOpticalFactors().value;
    readClearcoat();
    const bool transmits = readTransmission(opticalFactors.y);
    readVolume(transmits, opticalFactors);
    readSheen();
    readSpecular();
    opticalFactors.x = readIor();
    material_.uniforms.push_back(uniform("opticalFactors", opticalFactors));
}

const tinygltf::Value* ExtensionReader::extension(const char* name) const {
    auto found = extensions_.find(name);
    return found != extensions_.end() ? &found->second : nullptr;
}

// A clear layer over the surface, drawn where its factor (times its map) is above 0; its
// roughness and normal maps only matter then.
void ExtensionReader::readClearcoat() {
    const tinygltf::Value* clearcoat = extension("KHR_materials_clearcoat");
    if (clearcoat == nullptr) {
        return;
    }
    const float factor = unitFactor(*clearcoat, "clearcoatFactor", 0.0f);
    const float roughness = unitFactor(*clearcoat, "clearcoatRoughnessFactor", 0.0f);
    float normalScale = 1.0f;
    if (clearcoat->Has("clearcoatNormalTexture")) {
        normalScale = finiteNumber(clearcoat->Get("clearcoatNormalTexture"), "scale", 1.0f,
                                   "clearcoatNormalTexture scale")
                          .value_or(1.0f);
    }
    const bool mapped = texture(*clearcoat, "clearcoatTexture", "clearcoatMap", "CLEARCOAT_MAP");
    if (factor <= 0.0f && !mapped) {
        return;
    }
    material_.defines.push_back("CLEARCOAT");
    texture(*clearcoat, "clearcoatRoughnessTexture", "clearcoatRoughnessMap",
            "CLEARCOAT_ROUGHNESS_MAP");
    texture(*clearcoat, "clearcoatNormalTexture", "clearcoatNormalMap", "CLEARCOAT_NORMAL_MAP");
    material_.uniforms.push_back(
        uniform("clearcoatFactors", glm::vec4(factor, roughness, normalScale, 0.0f)));
}

bool ExtensionReader::readTransmission(float& transmission) {
    const tinygltf::Value* source = extension("KHR_materials_transmission");
    if (source == nullptr) {
        return false;
    }
    transmission = unitFactor(*source, "transmissionFactor", 0.0f);
    const bool mapped =
        texture(*source, "transmissionTexture", "transmissionMap", "TRANSMISSION_MAP");
    if (transmission <= 0.0f && !mapped) {
        return false;
    }
    material_.defines.push_back("TRANSMISSION");
    return true;
}

// The volume behind the surface tints the light that passes through it: it acts only on a
// transmitting material with some thickness.
void ExtensionReader::readVolume(bool transmits, glm::vec4& opticalFactors) {
    const tinygltf::Value* volume = extension("KHR_materials_volume");
    if (volume == nullptr) {
        return;
    }
    float thickness = finiteNumber(*volume, "thicknessFactor", 0.0f).value_or(0.0f);
    if (thickness < 0.0f) {
        warn("thicknessFactor", "must be at least 0; 0 used");
        thickness = 0.0f;
    }
    // Left out, the distance is infinite, which 0 stands for; beyond a float it is as good.
    float distance = 0.0f;
    if (std::optional<double> read = number(*volume, "attenuationDistance", "infinite")) {
        if (*read > 0.0) {
            distance = *read <= kLargestFloat
                           ? std::max(static_cast<float>(*read), std::numeric_limits<float>::min())
                           : 0.0f;
        } else {
            warn("attenuationDistance", "must be above 0; infinite used");
        }
    }
    const glm::vec3 attenuation = color(*volume, "attenuationColor", glm::vec3(1.0f));
    opticalFactors.z = thickness;
    opticalFactors.w = distance;
    if (!transmits) {
        return;
    }
    const bool mapped = texture(*volume, "thicknessTexture", "thicknessMap", "THICKNESS_MAP");
    if (thickness <= 0.0f && !mapped) {
        return;
    }
    material_.defines.push_back("VOLUME");
    material_.uniforms.push_back(uniform("attenuationColor", glm::vec4(attenuation, 0.0f)));
}

// A soft velvet layer, drawn where its colour (times its map) is not black.
void ExtensionReader::readSheen() {
    const tinygltf::Value* sheen = extension("KHR_materials_sheen");
    if (sheen == nullptr) {
        return;
    }
    const glm::vec3 sheenColor = color(*sheen, "sheenColorFactor", glm::vec3(0.0f));
    const float roughness = unitFactor(*sheen, "sheenRoughnessFactor", 0.0f);
    const bool mapped = texture(*sheen, "sheenColorTexture", "sheenColorMap", "SHEEN_COLOR_MAP");
    if (sheenColor == glm::vec3(0.0f) && !mapped) {
        return;
    }
    material_.defines.push_back("SHEEN");
    texture(*sheen, "sheenRoughnessTexture", "sheenRoughnessMap", "SHEEN_ROUGHNESS_MAP");
    material_.uniforms.push_back(uniform("sheenFactors", glm::vec4(sheenColor, roughness)));
}

// The strength and colour of the dielectric highlight; the colour may exceed 1.
void ExtensionReader::readSpecular() {
    const tinygltf::Value* specular = extension("KHR_materials_specular");
    if (specular == nullptr) {
        return;
    }
    const float factor = unitFactor(*specular, "specularFactor", 1.0f);
    const glm::vec3 specularColor =
        color(*specular, "specularColorFactor", glm::vec3(1.0f), kLargestFloat);
    material_.defines.push_back("SPECULAR");
    texture(*specular, "specularTexture", "specularMap", "SPECULAR_MAP");
    texture(*specular, "specularColorTexture", "specularColorMap", "SPECULAR_COLOR_MAP");
    material_.uniforms.push_back(uniform("specularFactors", glm::vec4(specularColor, factor)));
}

// At least 1, or 0 (which the extension allows as a special value).
float ExtensionReader::readIor() {
    const tinygltf::Value* source = extension("KHR_materials_ior");
    if (source == nullptr) {
        return kDefaultIor;
    }
    const std::optional<float> ior = finiteNumber(*source, "ior", kDefaultIor);
    if (!ior) {
        return kDefaultIor;
    }
    if (*ior != 0.0f && *ior < 1.0f) {
        warn("ior", "must be 0 or at least 1; " + shown(kDefaultIor) + " used");
        return kDefaultIor;
    }
    return *ior;
}

std::optional<double> ExtensionReader::number(const tinygltf::Value& object, const char* key,
                                              const std::string& fallback, const char* display) {
    if (!object.Has(key)) {
        return std::nullopt;
    }
    const tinygltf::Value& value = object.Get(key);
    if (!value.IsNumber()) {
        warn(display != nullptr ? display : key, "must be a number; " + fallback + " used");
        return std::nullopt;
    }
    return value.GetNumberAsDouble();
}

std::optional<float> ExtensionReader::finiteNumber(const tinygltf::Value& object, const char* key,
                                                   float fallback, const char* display) {
    const std::optional<double> value = number(object, key, shown(fallback), display);
    if (!value) {
        return std::nullopt;
    }
    if (!(std::abs(*value) <= kLargestFloat)) {
        warn(display != nullptr ? display : key,
             "is not a finite number; " + shown(fallback) + " used");
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

float ExtensionReader::unitFactor(const tinygltf::Value& object, const char* key, float fallback) {
    const std::optional<double> value = number(object, key, shown(fallback));
    if (!value) {
        return fallback;
    }
    const double clamped = std::clamp(*value, 0.0, 1.0);
    if (clamped != *value) {
        warn(key, "lies outside 0 to 1 and was clamped");
    }
    return static_cast<float>(clamped);
}

glm::vec3 ExtensionReader::color(const tinygltf::Value& object, const char* key,
                                 const glm::vec3& fallback, double highest) {
    if (!object.Has(key)) {
        return fallback;
    }
    const tinygltf::Value& value = object.Get(key);
    bool numbers = value.ArrayLen() == 3;
    for (int channel = 0; channel < 3 && numbers; ++channel) {
        numbers = value.Get(channel).IsNumber();
    }
    if (!numbers) {
        warn(key, "must be an array of 3 numbers; " + shown(fallback) + " used");
        return fallback;
    }
    glm::vec3 read(0.0f);
    bool clamped = false;
    for (int channel = 0; channel < 3; ++channel) {
        const double given = value.Get(channel).GetNumberAsDouble();
        if (highest > 1.0 && !(std::abs(given) <= kLargestFloat)) {
            warn(key, "is not a finite colour; " + shown(fallback) + " used");
            return fallback;
        }
        const double inRange = std::clamp(given, 0.0, highest);
        clamped = clamped || inRange != given;
        read[channel] = static_cast<float>(inRange);
    }
    if (clamped) {
        warn(key, highest > 1.0 ? "is negative and was clamped to 0"
                                : "lies outside 0 to 1 and was clamped");
    }
    return read;
}

// A texture reference: an object with the texture's index, and optionally its coordinate set
// and KHR_texture_transform.
bool ExtensionReader::texture(const tinygltf::Value& object, const char* key, const char* sampler,
                              const char* define) {
    if (!object.Has(key)) {
        return false;
    }
    const tinygltf::Value& reference = object.Get(key);
    if (!reference.Has("index")) {
        warn(key, "names no texture index; drawn without it");
        return false;
    }
    const tinygltf::Value& index = reference.Get("index");
    if (!index.IsInt() || index.GetNumberAsInt() < 0) {
        warn(key, "index must be a whole number of at least 0; drawn without it");
        return false;
    }
    int texCoord = 0;
    if (reference.Has("texCoord")) {
        const tinygltf::Value& set = reference.Get("texCoord");
        if (set.IsInt()) {
            texCoord = set.GetNumberAsInt();
        } else {
            warn(std::string(key) + " texCoord", "must be a whole number; 0 used");
        }
    }
    const tinygltf::Value* transform = nullptr;
    if (reference.Has("extensions") && reference.Get("extensions").Has("KHR_texture_transform")) {
        transform = &reference.Get("extensions").Get("KHR_texture_transform");
    }
    return addTexture_(
        GltfTextureSlot{sampler, define, index.GetNumberAsInt(), texCoord, transform});
}

void ExtensionReader::warn(const std::string& what, const std::string& problem) {
    warnings_.push_back(label_ + " " + what + " " + problem);
}

MaterialUniform uniform(const std::string& name, const glm::vec4& value) {
    MaterialUniform entry;
    entry.name = name;
    entry.value = value;
    return entry;
}

std::string shown(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string shown(const glm::vec3& value) {
    return shown(value.r) + ", " + shown(value.g) + ", " + shown(value.b);
}

}  // namespace
}  // namespace engine
