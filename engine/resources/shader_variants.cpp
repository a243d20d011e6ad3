#include "engine/resources/shader_variants.h"

#include <utility>

#include "engine/gpu/engine_uniforms.h"
#include "engine/gpu/shader_program.h"
#include "engine/resources/loaded_material.h"

namespace engine {

std::optional<ShaderVariant> buildShaderVariant(const ShaderDesc& shader,
                                                const std::vector<std::string>& defines,
                                                ContextNames& contextNames, std::string& error) {
    ShaderVariant variant;
    variant.defines = defines;
    for (const ShaderContextDesc& context : shader.contexts) {
        std::optional<GlProgram> program = buildProgram(
            composeProgramSource(shader, context, ShaderStage::Vertex, defines),
            composeProgramSource(shader, context, ShaderStage::Fragment, defines), error);
        if (!program) {
            error = "context '" + context.name + "' (line " + std::to_string(context.line) + "), " +
                    error;
            return std::nullopt;
        }
        ContextProgram entry;
        entry.context = context.name;
        entry.contextId = contextNames.idOf(context.name);
        entry.uniforms = lookUpEngineUniforms(program->get());
        entry.program = std::move(*program);
        variant.programs.push_back(std::move(entry));
    }
    return variant;
}

void buildPendingVariants(const ResourceTable& resources, ContextNames& contextNames,
                          MessageLog& log) {
    for (int handle = 1; handle < resources.endHandle(); ++handle) {
        const Resource* resource = resources.get(handle, ResourceType::Material);
        auto* material = resource != nullptr ? resource->payloadAs<LoadedMaterial>() : nullptr;
        if (material == nullptr || material->shaderVariant != LoadedMaterial::kVariantPending) {
            continue;
        }
        const Resource* shaderResource = resources.get(material->shader, ResourceType::Shader);
        auto* shader =
            shaderResource != nullptr ? shaderResource->payloadAs<LoadedShader>() : nullptr;
        if (shader == nullptr) {
            continue;
        }
        material->shaderVariant = shader->findVariant(material->desc.defines);
        if (material->shaderVariant >= 0) {
            continue;
        }
        std::string error;
        std::optional<ShaderVariant> variant =
            buildShaderVariant(shader->desc, material->desc.defines, contextNames, error);
        if (!variant) {
            material->shaderVariant = LoadedMaterial::kVariantFailed;
            std::string defines;
            for (const std::string& define : material->desc.defines) {
                defines += " " + define;
            }
            log.error("material '" + resource->name + "' is not drawn: shader '" +
                      shaderResource->name + "' with the defines" + defines +
                      " does not build: " + error);
            continue;
        }
        material->shaderVariant = static_cast<int>(shader->variants.size());
        shader->variants.push_back(std::move(*variant));
    }
}

}  // namespace engine
