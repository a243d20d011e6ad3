#include "engine/resources/resource_parser.h"

#include <utility>

#include "engine/formats/detail_levels.h"
#include "engine/formats/model_formats.h"

namespace engine {
namespace {

template <typename Description>
Parsed<ParsedContent> wrap(Parsed<Description> parsed);
Parsed<ParsedContent> parseTexture(int flags, std::string_view bytes);
Parsed<ParsedContent> parseHdrTexture(int flags, std::string_view bytes);
std::size_t hdrDecodedBytes(int flags, const ImageSize& size);
std::vector<ResourceReference> sceneReferences(const SceneDesc& scene);
std::vector<ResourceReference> materialReferences(const MaterialDesc& material);
std::vector<ResourceReference> pipelineReferences(const PipelineDesc& pipeline);
std::vector<ResourceReference> geometryReferences(const GeometryDesc& geometry);

}  // namespace

Parsed<ParsedContent> parseResourceContent(ResourceType type, int flags, std::string_view name,
                                           std::string_view bytes,
                                           const SideFileReader& readSideFile) {
    switch (type) {
        case ResourceType::SceneGraph:
            return wrap(parseScene(bytes));
        case ResourceType::Material:
            return wrap(parseMaterial(bytes));
        case ResourceType::Shader:
            return wrap(parseShader(bytes));
        case ResourceType::Pipeline:
            return wrap(parsePipeline(bytes));
        case ResourceType::Texture:
            return parseTexture(flags, bytes);
        case ResourceType::Geometry: {
            if (!startsAsGltf(bytes) && !isGltfName(name)) {
                return Parsed<ParsedContent>::failure(unsupportedModelFault(name));
            }
            Parsed<GeometryDesc> geometry = parseGltfGeometry(bytes, readSideFile, name);
            if (geometry.ok()) {
                addDetailLevels(geometry.value());
            }
            return wrap(std::move(geometry));
        }
        case ResourceType::FontMetrics:
            return wrap(parseFontMetrics(bytes));
    }
    return Parsed<ParsedContent>::failure("unknown resource type");
}

std::size_t decodedBytesOf(ResourceType type, int flags, std::string_view bytes) {
    if (type != ResourceType::Texture) {
        return 0;
    }
    const bool hdr = isHdrImage(bytes);
    Parsed<ImageSize> size = hdr ? readHdrImageSize(bytes) : readImageSize(bytes);
    if (!size.ok()) {
        return 0;
    }
    if (hdr) {
        return hdrDecodedBytes(flags, size.value());
    }
    const std::size_t image =
        static_cast<std::size_t>(size.value().width) * size.value().height * kImageChannels;
    // Mipmaps add a third; a cube strip is copied into its six faces before the upload.
    const std::size_t levels = (flags & kNoMipmapsTextureFlag) == 0 ? image + image / 3 : image;
    return (flags & kCubeTextureFlag) != 0 ? image + levels : levels;
}

std::vector<ResourceReference> referencesOf(const ParsedContent& content) {
    if (const auto* scene = std::get_if<SceneDesc>(&content)) {
        return sceneReferences(*scene);
    }
    if (const auto* material = std::get_if<MaterialDesc>(&content)) {
        return materialReferences(*material);
    }
    if (const auto* pipeline = std::get_if<PipelineDesc>(&content)) {
        return pipelineReferences(*pipeline);
    }
    if (const auto* geometry = std::get_if<GeometryDesc>(&content)) {
        return geometryReferences(*geometry);
    }
    return {};
}

std::vector<std::string> warningsOf(const ParsedContent& content) {
    const auto* geometry = std::get_if<GeometryDesc>(&content);
    return geometry != nullptr ? geometry->warnings : std::vector<std::string>();
}

namespace {

template <typename Description>
Parsed<ParsedContent> wrap(Parsed<Description> parsed) {
    if (!parsed.ok()) {
        return Parsed<ParsedContent>::failure(parsed.error());
    }
    return Parsed<ParsedContent>::success(ParsedContent(std::move(parsed.value())));
}

Parsed<ParsedContent> parseTexture(int flags, std::string_view bytes) {
    if (isHdrImage(bytes)) {
        return parseHdrTexture(flags, bytes);
    }
    if (!isImage(bytes)) {
        return Parsed<ParsedContent>::failure(
            "not a PNG, JPEG, WebP, Radiance HDR or OpenEXR file");
    }
    Parsed<ImageData> image = decodeImage(bytes);
    if (!image.ok()) {
        return wrap(std::move(image));
    }
    const bool mipmapped = (flags & kNoMipmapsTextureFlag) == 0;
    if ((flags & kCubeTextureFlag) == 0) {
        if (mipmapped) {
            addMipmaps(image.value());
        }
        return wrap(std::move(image));
    }
    Parsed<CubeFaces> faces = splitCubeFaces(image.value());
    if (faces.ok() && mipmapped) {
        for (ImageData& face : faces.value()) {
            addMipmaps(face);
        }
    }
    return wrap(std::move(faces));
}

// Values stay linear, clamped to what a half float holds; a cube texture is the panorama
// resampled into six faces.
Parsed<ParsedContent> parseHdrTexture(int flags, std::string_view bytes) {
    Parsed<HdrImage> image = decodeHdrImage(bytes);
    if (!image.ok()) {
        return wrap(std::move(image));
    }
    clampToHalfFloats(image.value());
    const bool mipmapped = (flags & kNoMipmapsTextureFlag) == 0;
    if ((flags & kCubeTextureFlag) == 0) {
        if (mipmapped) {
            addHdrMipmaps(image.value());
        }
        return wrap(std::move(image));
    }
    HdrCubeFaces faces = equirectangularToCube(image.value(), cubeFaceSizeFor(image.value().width));
    if (mipmapped) {
        for (HdrImage& face : faces) {
            addHdrMipmaps(face);
        }
    }
    return Parsed<ParsedContent>::success(ParsedContent(std::move(faces)));
}

// The panorama as decoded, and with it its mipmaps or, for a cube texture, the faces made from
// it and their mipmaps.
std::size_t hdrDecodedBytes(int flags, const ImageSize& size) {
    constexpr std::size_t kTexelBytes = kHdrChannels * sizeof(float);
    const bool mipmapped = (flags & kNoMipmapsTextureFlag) == 0;
    auto withLevels = [mipmapped](std::size_t bytes) {
        return mipmapped ? bytes + bytes / 3 : bytes;
    };
    const std::size_t image =
        static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) * kTexelBytes;
    if ((flags & kCubeTextureFlag) == 0) {
        return withLevels(image);
    }
    const auto face = static_cast<std::size_t>(cubeFaceSizeFor(size.width));
    return image + withLevels(6 * face * face * kTexelBytes);
}

std::vector<ResourceReference> sceneReferences(const SceneDesc& scene) {
    std::vector<ResourceReference> references;
    forEachSceneNode(scene.root, [&references](const SceneNodeDesc& node) {
        if (!node.geometry.empty()) {
            references.push_back({ResourceType::Geometry, node.geometry});
        }
        if (!node.material.empty()) {
            references.push_back({ResourceType::Material, node.material});
        }
        for (const MeshMaterial& entry : node.meshMaterials) {
            references.push_back({ResourceType::Material, entry.material});
        }
        if (!node.pipeline.empty()) {
            references.push_back({ResourceType::Pipeline, node.pipeline});
        }
        if (!node.scene.empty()) {
            references.push_back({ResourceType::SceneGraph, node.scene});
        }
    });
    return references;
}

std::vector<ResourceReference> materialReferences(const MaterialDesc& material) {
    std::vector<ResourceReference> references{{ResourceType::Shader, material.shader}};
    for (const MaterialTexture& texture : material.textures) {
        int flags = texture.kind == TextureKind::Cube ? kCubeTextureFlag : 0;
        if (!texture.mipmaps) {
            flags |= kNoMipmapsTextureFlag;
        }
        references.push_back({ResourceType::Texture, texture.file, flags});
    }
    if (!material.fontMetrics.empty()) {
        references.push_back({ResourceType::FontMetrics, material.fontMetrics});
    }
    return references;
}

std::vector<ResourceReference> pipelineReferences(const PipelineDesc& pipeline) {
    std::vector<ResourceReference> references;
    for (const PipelineStage& stage : pipeline.stages) {
        for (const PipelineCommand& command : stage.commands) {
            if (command.kind == CommandKind::DrawQuad) {
                references.push_back({ResourceType::Material, command.material});
            }
        }
    }
    return references;
}

std::vector<ResourceReference> geometryReferences(const GeometryDesc& geometry) {
    std::vector<ResourceReference> references;
    for (const NamedMaterial& material : geometry.materials) {
        references.push_back({ResourceType::Material, material.name, 0,
                              std::make_shared<const ParsedContent>(material.desc)});
    }
    for (const GeometryImage& image : geometry.images) {
        references.push_back({ResourceType::Texture, image.name, 0, nullptr, image.embeddedBytes});
    }
    return references;
}

}  // namespace
}  // namespace engine
