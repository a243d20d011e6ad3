#include "engine/formats/gltf_materials.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/data_uri.h"
#include "engine/formats/format_error.h"
#include "engine/formats/gltf_material_extensions.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/resource_names.h"

namespace engine {
namespace {

// Far more than real files hold; each becomes a resource of its own.
constexpr std::size_t kMaxMaterials = 20000;
constexpr std::size_t kMaxImages = 20000;

// The material extensions the shader draws besides kGltfSurfaceExtensions; every other one is
// reported once per file.
const char* const kDrawnMaterialExtensions[] = {"KHR_materials_emissive_strength",
                                                "KHR_materials_unlit"};

class LookReader {
  public:
    LookReader(const tinygltf::Model& model, const EmbeddedImages& embedded,
               std::string_view resourceName, std::vector<std::string>& warnings)
        : model_(model), embedded_(embedded), resourceName_(resourceName), warnings_(warnings) {}

    GltfLook read();

  private:
    const tinygltf::Model& model_;
    const EmbeddedImages& embedded_;
    std::string resourceName_;
    std::vector<std::string>& warnings_;
    GltfLook look_;
    // Image index to its entry in look_.images: each image is one texture however often used.
    std::map<int, std::size_t> imageEntries_;
    std::set<std::string> ignoredExtensions_;
    std::set<int> missingImagesReported_;
    // The samplers of the material being read left out for want of texture units.
    std::string droppedSamplers_;

    MaterialDesc readMaterial(const tinygltf::Material& source, const std::string& label);
    // False when the slot names no texture that can be drawn, or the material has no texture
    // unit left for it.
    bool addTexture(const GltfTextureSlot& slot, const std::string& label, MaterialDesc& material);
    int sourceImage(const tinygltf::Texture& texture) const;
    // The texture resource of the image; empty when the file holds no bytes for it.
    std::string imageName(int image, const std::string& label);
    float unitFactor(double value, float fallback, const std::string& what);
    glm::vec4 colorFactor(const std::vector<double>& value, const glm::vec4& fallback,
                          const std::string& what);
};

std::string materialName(std::string_view resourceName, const std::string& suffix);
bool isDrawnExtension(const std::string& extension);
// The coordinate set that tangents follow: the normal map's, else the clearcoat normal map's;
// -1 without either.
int normalMapTexCoord(const MaterialDesc& material);
MaterialUniform uniform(const std::string& name, const glm::vec4& value);
const tinygltf::Value* extensionValue(const tinygltf::ExtensionMap& extensions,
                                      const char* extension, const char* member);
TextureWrap wrapOf(int mode);
void applySampler(const tinygltf::Sampler& sampler, MaterialTexture& texture);

}  // namespace

GltfLook readGltfLook(const tinygltf::Model& model, const EmbeddedImages& embedded,
                      std::string_view resourceName, std::vector<std::string>& warnings) {
    return LookReader(model, embedded, resourceName, warnings).read();
}

NamedMaterial defaultGltfMaterial(std::string_view resourceName) {
    NamedMaterial material;
    material.name = materialName(resourceName, "#default-material");
    material.desc.shader = kGltfMaterialShader;
    material.desc.defines = {"GLTF_MATERIAL", "ENVIRONMENT_LIGHT"};
    material.desc.uniforms = {uniform("baseColorFactor", glm::vec4(1.0f)),
                              uniform("materialFactors", glm::vec4(1.0f, 1.0f, 1.0f, 1.0f)),
                              uniform("emissiveFactor", glm::vec4(0.0f, 0.0f, 0.0f, 0.5f)),
                              defaultOpticalFactors()};
    return material;
}

namespace {

GltfLook LookReader::read() {
    if (model_.materials.size() > kMaxMaterials || model_.images.size() > kMaxImages) {
        throw FormatError("the file has more than " + std::to_string(kMaxMaterials) +
                          " materials or " + std::to_string(kMaxImages) + " images");
    }
    for (std::size_t index = 0; index < model_.materials.size(); ++index) {
        const tinygltf::Material& source = model_.materials[index];
        const std::string label = "material " + (source.name.empty() ? std::to_string(index)
                                                                     : quotedExcerpt(source.name));
        NamedMaterial& named = look_.materials.emplace_back();
        named.name = materialName(resourceName_, "#material" + std::to_string(index));
        named.desc = readMaterial(source, label);
        look_.normalMapTexCoords.push_back(normalMapTexCoord(named.desc));
    }
    if (!ignoredExtensions_.empty()) {
        std::string list;
        for (const std::string& extension : ignoredExtensions_) {
            list += (list.empty() ? "" : ", ") + extension;
        }
        warnings_.push_back("material extensions not drawn (ignored): " + list);
    }
    return std::move(look_);
}

MaterialDesc LookReader::readMaterial(const tinygltf::Material& source, const std::string& label) {
    MaterialDesc material;
    material.shader = kGltfMaterialShader;
    material.defines = {"GLTF_MATERIAL", "ENVIRONMENT_LIGHT"};
    for (const auto& [extension, value] : source.extensions) {
        if (!isDrawnExtension(extension)) {
            ignoredExtensions_.insert(extension);
        }
    }
    if (source.extensions.count("KHR_materials_unlit") != 0) {
        material.defines.push_back("UNLIT");
    }
    if (source.doubleSided) {
        material.cullsBackFaces = false;
        material.defines.push_back("DOUBLE_SIDED");
    }

    const tinygltf::PbrMetallicRoughness& pbr = source.pbrMetallicRoughness;
    const glm::vec4 baseColor =
        colorFactor(pbr.baseColorFactor, glm::vec4(1.0f), label + " baseColorFactor");
    const float metallic = unitFactor(pbr.metallicFactor, 1.0f, label + " metallicFactor");
    const float roughness = unitFactor(pbr.roughnessFactor, 1.0f, label + " roughnessFactor");
    glm::vec4 emissive = colorFactor(source.emissiveFactor, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f),
                                     label + " emissiveFactor");
    if (const tinygltf::Value* strength = extensionValue(
            source.extensions, "KHR_materials_emissive_strength", "emissiveStrength")) {
        const double value = strength->IsNumber() ? strength->GetNumberAsDouble() : -1.0;
        if (value >= 0.0 && std::isfinite(value)) {
            emissive *= static_cast<float>(value);
        } else {
            warnings_.push_back(label + " emissiveStrength must be a number of at least 0");
        }
    }
    float normalScale = std::isfinite(source.normalTexture.scale)
                            ? static_cast<float>(source.normalTexture.scale)
                            : 1.0f;
    const float occlusion =
        unitFactor(source.occlusionTexture.strength, 1.0f, label + " occlusion strength");

    float cutoff = 0.5f;
    if (source.alphaMode == "MASK") {
        material.defines.push_back("ALPHA_MASK");
        cutoff = std::isfinite(source.alphaCutoff) && source.alphaCutoff >= 0.0
                     ? static_cast<float>(source.alphaCutoff)
                     : 0.5f;
        if (cutoff != static_cast<float>(source.alphaCutoff)) {
            warnings_.push_back(label + " alphaCutoff must be a number of at least 0; 0.5 used");
        }
    } else if (source.alphaMode == "BLEND") {
        material.defines.push_back("ALPHA_BLEND");
        material.blend = MaterialBlend::Alpha;
    } else if (source.alphaMode != "OPAQUE") {
        warnings_.push_back(label + " has the unknown alphaMode " +
                            quotedExcerpt(source.alphaMode) + " and is drawn opaque");
    }

    droppedSamplers_.clear();
    const GltfTextureSlot slots[] = {
        {"baseColorMap", "BASE_COLOR_MAP", pbr.baseColorTexture.index,
         pbr.baseColorTexture.texCoord, textureTransform(pbr.baseColorTexture.extensions)},
        {"metallicRoughnessMap", "METALLIC_ROUGHNESS_MAP", pbr.metallicRoughnessTexture.index,
         pbr.metallicRoughnessTexture.texCoord,
         textureTransform(pbr.metallicRoughnessTexture.extensions)},
        {"normalMap", "NORMAL_MAP", source.normalTexture.index, source.normalTexture.texCoord,
         textureTransform(source.normalTexture.extensions)},
        {"occlusionMap", "OCCLUSION_MAP", source.occlusionTexture.index,
         source.occlusionTexture.texCoord, textureTransform(source.occlusionTexture.extensions)},
        {"emissiveMap", "EMISSIVE_MAP", source.emissiveTexture.index,
         source.emissiveTexture.texCoord, textureTransform(source.emissiveTexture.extensions)},
    };
    for (const GltfTextureSlot& slot : slots) {
        addTexture(slot, label, material);
    }
    material.uniforms.push_back(uniform("baseColorFactor", baseColor));
    material.uniforms.push_back(
        uniform("materialFactors", glm::vec4(metallic, roughness, normalScale, occlusion)));
    material.uniforms.push_back(uniform("emissiveFactor", glm::vec4(glm::vec3(emissive), cutoff)));
    readGltfSurfaceExtensions(
        source.extensions, label,
        [&](const GltfTextureSlot& slot) { return addTexture(slot, label, material); }, material,
        warnings_);
    if (!droppedSamplers_.empty()) {
        warnings_.push_back(label + " has more textures than the " +
                            std::to_string(kMaxGltfMaterialTextures) +
                            " a material binds; drawn without " + droppedSamplers_);
    }
    return material;
}

bool LookReader::addTexture(const GltfTextureSlot& slot, const std::string& label,
                            MaterialDesc& material) {
    if (slot.texture < 0) {
        return false;
    }
    const std::string what = label + " " + slot.sampler;
    if (static_cast<std::size_t>(slot.texture) >= model_.textures.size()) {
        warnings_.push_back(what + " names texture " + std::to_string(slot.texture) +
                            ", which does not exist; drawn without it");
        return false;
    }
    const tinygltf::Texture& texture = model_.textures[static_cast<std::size_t>(slot.texture)];
    const int image = sourceImage(texture);
    if (image < 0) {
        warnings_.push_back(what + ": texture " + std::to_string(slot.texture) +
                            " has no PNG, JPEG or WebP image; drawn without it");
        return false;
    }
    const std::string name = imageName(image, what);
    if (name.empty()) {
        return false;
    }
    if (material.textures.size() >= kMaxGltfMaterialTextures) {
        droppedSamplers_ += (droppedSamplers_.empty() ? "" : ", ") + std::string(slot.sampler);
        return false;
    }
    MaterialTexture entry;
    entry.sampler = slot.sampler;
    entry.file = name;
    if (texture.sampler >= 0 &&
        static_cast<std::size_t>(texture.sampler) < model_.samplers.size()) {
        applySampler(model_.samplers[static_cast<std::size_t>(texture.sampler)], entry);
    }
    material.textures.push_back(entry);
    material.defines.push_back(slot.define);

    // Texture coordinates go through an affine map, the identity unless KHR_texture_transform
    // says otherwise; w of the first row picks the coordinate set.
    int texCoord = slot.texCoord;
    glm::vec2 offset(0.0f);
    glm::vec2 scale(1.0f);
    float rotation = 0.0f;
    auto number = [](const tinygltf::Value& value, float fallback) {
        return value.IsNumber() && std::isfinite(value.GetNumberAsDouble())
                   ? static_cast<float>(value.GetNumberAsDouble())
                   : fallback;
    };
    if (slot.transform != nullptr) {
        const tinygltf::Value& transform = *slot.transform;
        for (int axis = 0; axis < 2; ++axis) {
            if (transform.Has("offset") && transform.Get("offset").ArrayLen() == 2) {
                offset[axis] = number(transform.Get("offset").Get(axis), 0.0f);
            }
            if (transform.Has("scale") && transform.Get("scale").ArrayLen() == 2) {
                scale[axis] = number(transform.Get("scale").Get(axis), 1.0f);
            }
        }
        if (transform.Has("rotation")) {
            rotation = number(transform.Get("rotation"), 0.0f);
        }
        if (transform.Has("texCoord") && transform.Get("texCoord").IsInt()) {
            texCoord = transform.Get("texCoord").GetNumberAsInt();
        }
    }
    if (texCoord != 0 && texCoord != 1) {
        warnings_.push_back(what + " reads texture coordinate set " + std::to_string(texCoord) +
                            "; the engine has sets 0 and 1 and uses 0");
        texCoord = 0;
    }
    const float cosine = std::cos(rotation);
    const float sine = std::sin(rotation);
    material.uniforms.push_back(uniform(
        std::string(slot.sampler) + "TransformU",
        glm::vec4(scale.x * cosine, scale.y * sine, offset.x, static_cast<float>(texCoord))));
    material.uniforms.push_back(uniform(std::string(slot.sampler) + "TransformV",
                                        glm::vec4(-scale.x * sine, scale.y * cosine, offset.y, 0)));
    return true;
}

// EXT_texture_webp names the WebP image apart from the fallback every reader can take.
int LookReader::sourceImage(const tinygltf::Texture& texture) const {
    int image = texture.source;
    if (const tinygltf::Value* webp =
            extensionValue(texture.extensions, "EXT_texture_webp", "source")) {
        if (webp->IsInt()) {
            image = webp->GetNumberAsInt();
        }
    }
    return image >= 0 && static_cast<std::size_t>(image) < model_.images.size() ? image : -1;
}

std::string LookReader::imageName(int image, const std::string& label) {
    auto known = imageEntries_.find(image);
    if (known != imageEntries_.end()) {
        return look_.images[known->second].name;
    }
    GeometryImage entry;
    auto embedded = embedded_.find(image);
    const std::string& uri = model_.images[static_cast<std::size_t>(image)].uri;
    // tinygltf decodes data URIs of the types it knows; the others (WebP) are decoded here.
    std::optional<std::string> fromUri =
        embedded == embedded_.end() ? dataUriBytes(uri) : std::nullopt;
    if (embedded != embedded_.end() || fromUri) {
        entry.name = materialName(resourceName_, "#image" + std::to_string(image));
        entry.embeddedBytes = embedded != embedded_.end()
                                  ? embedded->second
                                  : std::make_shared<const std::string>(std::move(*fromUri));
    } else if (!uri.empty() && uri.rfind("data:", 0) != 0) {
        const std::string path = percentDecoded(uri);
        const SiblingPath sibling = confinedSibling(resourceName_, path);
        if (sibling.kind == SiblingPath::Kind::Outside) {
            if (missingImagesReported_.insert(image).second) {
                warnings_.push_back(label + ": image " + std::to_string(image) + " path " +
                                    quotedExcerpt(path) +
                                    " leads outside the model's folder and is not read");
            }
            return {};
        }
        if (sibling.kind == SiblingPath::Kind::ByFileName) {
            warnings_.push_back("image " + std::to_string(image) + " path " + quotedExcerpt(path) +
                                " was written on another machine; looked for by its file name");
        }
        entry.name = sibling.name;
    } else {
        if (missingImagesReported_.insert(image).second) {
            warnings_.push_back(label + ": image " + std::to_string(image) +
                                " holds no bytes; drawn without it");
        }
        return {};
    }
    imageEntries_.emplace(image, look_.images.size());
    look_.images.push_back(entry);
    return entry.name;
}

float LookReader::unitFactor(double value, float fallback, const std::string& what) {
    if (!std::isfinite(value)) {
        warnings_.push_back(what + " is not a number; " + std::to_string(fallback) + " used");
        return fallback;
    }
    const double clamped = std::clamp(value, 0.0, 1.0);
    if (clamped != value) {
        warnings_.push_back(what + " lies outside 0 to 1 and was clamped");
    }
    return static_cast<float>(clamped);
}

glm::vec4 LookReader::colorFactor(const std::vector<double>& value, const glm::vec4& fallback,
                                  const std::string& what) {
    glm::vec4 color = fallback;
    bool clamped = false;
    for (std::size_t channel = 0; channel < value.size() && channel < 4; ++channel) {
        const double read = std::isfinite(value[channel]) ? value[channel] : 1.0;
        const double inRange = std::clamp(read, 0.0, 1.0);
        clamped = clamped || inRange != value[channel];
        color[static_cast<int>(channel)] = static_cast<float>(inRange);
    }
    if (clamped) {
        warnings_.push_back(what + " lies outside 0 to 1 and was clamped");
    }
    return color;
}

std::string materialName(std::string_view resourceName, const std::string& suffix) {
    return std::string(resourceName) + suffix;
}

bool isDrawnExtension(const std::string& extension) {
    auto drawnBy = [&](const auto& list) {
        return std::find(std::begin(list), std::end(list), extension) != std::end(list);
    };
    return drawnBy(kDrawnMaterialExtensions) || drawnBy(kGltfSurfaceExtensions);
}

int normalMapTexCoord(const MaterialDesc& material) {
    for (const char* sampler : {"normalMap", "clearcoatNormalMap"}) {
        for (const MaterialTexture& texture : material.textures) {
            if (texture.sampler != sampler) {
                continue;
            }
            for (const MaterialUniform& entry : material.uniforms) {
                if (entry.name == texture.sampler + "TransformU") {
                    return static_cast<int>(entry.value.w);
                }
            }
            return 0;
        }
    }
    return -1;
}

MaterialUniform uniform(const std::string& name, const glm::vec4& value) {
    MaterialUniform entry;
    entry.name = name;
    entry.value = value;
    return entry;
}

const tinygltf::Value* extensionValue(const tinygltf::ExtensionMap& extensions,
                                      const char* extension, const char* member) {
    auto found = extensions.find(extension);
    if (found == extensions.end() || !found->second.Has(member)) {
        return nullptr;
    }
    return &found->second.Get(member);
}

TextureWrap wrapOf(int mode) {
    switch (mode) {
        case TINYGLTF_TEXTURE_WRAP_CLAMP_TO_EDGE:
            return TextureWrap::ClampToEdge;
        case TINYGLTF_TEXTURE_WRAP_MIRRORED_REPEAT:
            return TextureWrap::MirroredRepeat;
        default:
            return TextureWrap::Repeat;
    }
}

void applySampler(const tinygltf::Sampler& sampler, MaterialTexture& texture) {
    texture.wrapS = wrapOf(sampler.wrapS);
    texture.wrapT = wrapOf(sampler.wrapT);
    texture.magnify = sampler.magFilter == TINYGLTF_TEXTURE_FILTER_NEAREST ? TextureFilter::Nearest
                                                                           : TextureFilter::Linear;
    const bool nearest = sampler.minFilter == TINYGLTF_TEXTURE_FILTER_NEAREST ||
                         sampler.minFilter == TINYGLTF_TEXTURE_FILTER_NEAREST_MIPMAP_NEAREST ||
                         sampler.minFilter == TINYGLTF_TEXTURE_FILTER_NEAREST_MIPMAP_LINEAR;
    texture.minify = nearest ? TextureFilter::Nearest : TextureFilter::Linear;
}

}  // namespace
}  // namespace engine
