#include "engine/resources/resource_uploader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "engine/gpu/texture_upload.h"
#include "engine/resources/geometry_upload.h"
#include "engine/resources/loaded_font_metrics.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/resources/loaded_scene.h"
#include "engine/resources/loaded_shader.h"
#include "engine/resources/loaded_texture.h"
#include "engine/resources/shader_variants.h"

namespace engine {
namespace {

using Upload = Parsed<std::unique_ptr<ResourcePayload>>;

Upload uploadScene(SceneDesc& desc);
Upload uploadMaterial(MaterialDesc& desc, const UploadContext& context);
Upload uploadShader(ShaderDesc& desc, ContextNames& contextNames);
Upload uploadPipeline(PipelineDesc& desc, const UploadContext& context);
Upload uploadFlat(const ImageData& image, const UploadContext& context);
Upload uploadCube(const CubeFaces& faces, const UploadContext& context);
Upload uploadFlatHdr(const HdrImage& image, const UploadContext& context);
Upload uploadCubeHdr(const HdrCubeFaces& faces, const UploadContext& context);
Upload uploadFontMetrics(const FontMetrics& metrics);

}  // namespace

Upload uploadResource(ParsedContent& content, const UploadContext& context) {
    if (auto* scene = std::get_if<SceneDesc>(&content)) {
        return uploadScene(*scene);
    }
    if (auto* material = std::get_if<MaterialDesc>(&content)) {
        return uploadMaterial(*material, context);
    }
    if (auto* shader = std::get_if<ShaderDesc>(&content)) {
        return uploadShader(*shader, context.contextNames);
    }
    if (auto* pipeline = std::get_if<PipelineDesc>(&content)) {
        return uploadPipeline(*pipeline, context);
    }
    if (auto* geometry = std::get_if<GeometryDesc>(&content)) {
        return Upload::success(uploadGeometry(*geometry, context.resources));
    }
    if (auto* image = std::get_if<ImageData>(&content)) {
        return uploadFlat(*image, context);
    }
    if (auto* hdrImage = std::get_if<HdrImage>(&content)) {
        return uploadFlatHdr(*hdrImage, context);
    }
    if (auto* hdrFaces = std::get_if<HdrCubeFaces>(&content)) {
        return uploadCubeHdr(*hdrFaces, context);
    }
    if (auto* metrics = std::get_if<FontMetrics>(&content)) {
        return uploadFontMetrics(*metrics);
    }
    return uploadCube(std::get<CubeFaces>(content), context);
}

namespace {

TextureSampling samplingFor(const UploadContext& context);

Upload uploadScene(SceneDesc& desc) {
    auto scene = std::make_unique<LoadedScene>();
    scene->desc = std::move(desc);
    return Upload::success(std::move(scene));
}

Upload uploadMaterial(MaterialDesc& desc, const UploadContext& context) {
    auto material = std::make_unique<LoadedMaterial>();
    material->shader = context.resources.find(ResourceType::Shader, desc.shader);
    for (const MaterialTexture& texture : desc.textures) {
        material->textures.push_back(context.resources.find(ResourceType::Texture, texture.file));
    }
    if (!desc.fontMetrics.empty()) {
        material->fontMetrics = context.resources.find(ResourceType::FontMetrics, desc.fontMetrics);
    }
    material->shaderVariant = desc.defines.empty() ? 0 : LoadedMaterial::kVariantPending;
    material->seesSceneBehind =
        std::find(desc.defines.begin(), desc.defines.end(), "TRANSMISSION") != desc.defines.end();
    material->desc = std::move(desc);
    return Upload::success(std::move(material));
}

Upload uploadShader(ShaderDesc& desc, ContextNames& contextNames) {
    auto shader = std::make_unique<LoadedShader>();
    std::string error;
    std::optional<ShaderVariant> plain = buildShaderVariant(desc, {}, contextNames, error);
    if (!plain) {
        return Upload::failure(error);
    }
    shader->variants.push_back(std::move(*plain));
    shader->desc = std::move(desc);
    return Upload::success(std::move(shader));
}

// The materials a pipeline names were declared before this upload, so their handles exist.
Upload uploadPipeline(PipelineDesc& desc, const UploadContext& context) {
    auto pipeline = std::make_unique<LoadedPipeline>();
    pipeline->desc = std::move(desc);
    for (const PipelineStage& stage : pipeline->desc.stages) {
        ResolvedStage& resolvedStage = pipeline->stages.emplace_back();
        resolvedStage.stage = &stage;
        for (const PipelineCommand& command : stage.commands) {
            ResolvedCommand& resolved = resolvedStage.commands.emplace_back();
            resolved.command = &command;
            resolved.contextId = context.contextNames.idOf(command.context);
            resolved.shadowContextId = context.contextNames.idOf(command.shadowContext);
            resolved.fillOnlyContextId = context.contextNames.idOf(command.fillOnlyContext);
            resolved.zeroContextId = context.contextNames.idOf(command.zeroContext);
            if (!command.material.empty()) {
                resolved.material =
                    context.resources.find(ResourceType::Material, command.material);
            }
        }
    }
    return Upload::success(std::move(pipeline));
}

Upload uploadFlat(const ImageData& image, const UploadContext& context) {
    // With texture loading off, every texture is one white texel: cheap, and still drawable.
    ImageData white{1, 1, {255, 255, 255, 255}, {}};
    const ImageData& used = context.options.loadTextures() ? image : white;
    auto texture = std::make_unique<LoadedTexture>();
    const TextureSampling sampling = samplingFor(context);
    texture->texture = uploadFlatTexture(used, sampling);
    texture->target = GL_TEXTURE_2D;
    texture->smoothMinify = minificationFilter(sampling);
    texture->parameters.minify = texture->smoothMinify;
    texture->width = used.width;
    texture->height = used.height;
    return Upload::success(std::move(texture));
}

Upload uploadCube(const CubeFaces& faces, const UploadContext& context) {
    CubeFaces white;
    white.fill(ImageData{1, 1, {255, 255, 255, 255}, {}});
    const CubeFaces& used = context.options.loadTextures() ? faces : white;
    auto texture = std::make_unique<LoadedTexture>();
    texture->texture = uploadCubeTexture(used, samplingFor(context));
    texture->target = GL_TEXTURE_CUBE_MAP;
    texture->width = used[0].width;
    texture->height = used[0].height;
    return Upload::success(std::move(texture));
}

// With texture loading off, a floating-point texture is one white texel too, still of its kind.
Upload uploadFlatHdr(const HdrImage& image, const UploadContext& context) {
    HdrImage white{1, 1, {1.0f, 1.0f, 1.0f}, {}};
    const HdrImage& used = context.options.loadTextures() ? image : white;
    auto texture = std::make_unique<LoadedTexture>();
    const TextureSampling sampling = samplingFor(context);
    texture->texture = uploadFlatTexture(used, sampling, context.capabilities.halfFloatTargets);
    texture->target = GL_TEXTURE_2D;
    texture->smoothMinify = minificationFilter(sampling);
    texture->parameters.minify = texture->smoothMinify;
    texture->width = used.width;
    texture->height = used.height;
    texture->linearValues = true;
    return Upload::success(std::move(texture));
}

Upload uploadCubeHdr(const HdrCubeFaces& faces, const UploadContext& context) {
    HdrCubeFaces white;
    white.fill(HdrImage{1, 1, {1.0f, 1.0f, 1.0f}, {}});
    const HdrCubeFaces& used = context.options.loadTextures() ? faces : white;
    auto texture = std::make_unique<LoadedTexture>();
    texture->texture =
        uploadCubeTexture(used, samplingFor(context), context.capabilities.halfFloatTargets);
    texture->target = GL_TEXTURE_CUBE_MAP;
    texture->width = used[0].width;
    texture->height = used[0].height;
    texture->linearValues = true;
    return Upload::success(std::move(texture));
}

Upload uploadFontMetrics(const FontMetrics& metrics) {
    auto loaded = std::make_unique<LoadedFontMetrics>();
    loaded->metrics = metrics;
    return Upload::success(std::move(loaded));
}

TextureSampling samplingFor(const UploadContext& context) {
    TextureSampling sampling;
    sampling.mipmaps = (context.resourceFlags & kNoMipmapsTextureFlag) == 0;
    sampling.trilinear = context.options.trilinearFiltering();
    sampling.anisotropy = usableAnisotropy(context.capabilities, context.options.maxAnisotropy());
    return sampling;
}

}  // namespace
}  // namespace engine
