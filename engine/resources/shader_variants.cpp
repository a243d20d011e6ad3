#include "engine/resources/shader_variants.h"

#include <algorithm>
#include <utility>

#include "engine/gpu/engine_uniforms.h"
#include "engine/gpu/shader_program.h"
#include "engine/resources/loaded_geometry.h"
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

namespace {

LoadedShader* shaderOf(const ResourceTable& resources, const LoadedMaterial& material,
                       const Resource*& shaderResource) {
    shaderResource = resources.get(material.shader, ResourceType::Shader);
    return shaderResource != nullptr ? shaderResource->payloadAs<LoadedShader>() : nullptr;
}

// The shader's build with the defines, made now unless one exists; kVariantFailed, with an
// error naming the material, when it does not build.
int variantWith(LoadedShader& shader, const std::vector<std::string>& defines,
                const std::string& materialName, const std::string& shaderName,
                ContextNames& contextNames, MessageLog& log) {
    const int found = shader.findVariant(defines);
    if (found >= 0) {
        return found;
    }
    std::string error;
    std::optional<ShaderVariant> variant =
        buildShaderVariant(shader.desc, defines, contextNames, error);
    if (!variant) {
        std::string listed;
        for (const std::string& define : defines) {
            listed += " " + define;
        }
        log.error("material '" + materialName + "' is not drawn: shader '" + shaderName +
                  "' with the defines" + listed + " does not build: " + error);
        return LoadedMaterial::kVariantFailed;
    }
    shader.variants.push_back(std::move(*variant));
    return static_cast<int>(shader.variants.size() - 1);
}

// The skinned builds of the materials a geometry's skinned meshes draw with. One that fails
// leaves those meshes to be skinned on the CPU.
void buildSkinnedVariants(const ResourceTable& resources, const LoadedGeometry& geometry,
                          ContextNames& contextNames, MessageLog& log) {
    for (const MeshRange& mesh : geometry.meshes) {
        if (!mesh.skinned()) {
            continue;
        }
        const bool eight =
            std::any_of(mesh.primitives.begin(), mesh.primitives.end(),
                        [](const PrimitiveRange& each) { return each.eightInfluences; });
        for (const MeshPart& part : mesh.parts) {
            const H3DRes handle =
                part.material >= 0 && part.material < static_cast<int>(geometry.materials.size())
                    ? geometry.materials[static_cast<std::size_t>(part.material)]
                    : 0;
            const Resource* resource = resources.get(handle, ResourceType::Material);
            auto* material = resource != nullptr ? resource->payloadAs<LoadedMaterial>() : nullptr;
            const Resource* shaderResource = nullptr;
            LoadedShader* shader =
                material != nullptr ? shaderOf(resources, *material, shaderResource) : nullptr;
            if (shader == nullptr || material->shaderVariant < 0 ||
                material->skinnedVariants[eight ? 1 : 0] != LoadedMaterial::kVariantNone) {
                continue;
            }
            std::vector<std::string> defines = material->desc.defines;
            defines.push_back("SKINNED");
            if (eight) {
                defines.push_back("EIGHT_INFLUENCES");
            }
            material->skinnedVariants[eight ? 1 : 0] = variantWith(
                *shader, defines, resource->name, shaderResource->name, contextNames, log);
        }
    }
}

}  // namespace

void buildPendingVariants(const ResourceTable& resources, ContextNames& contextNames,
                          MessageLog& log) {
    for (int handle = 1; handle < resources.endHandle(); ++handle) {
        const Resource* resource = resources.get(handle, ResourceType::Material);
        auto* material = resource != nullptr ? resource->payloadAs<LoadedMaterial>() : nullptr;
        if (material == nullptr || material->shaderVariant != LoadedMaterial::kVariantPending) {
            continue;
        }
        const Resource* shaderResource = nullptr;
        if (LoadedShader* shader = shaderOf(resources, *material, shaderResource)) {
            material->shaderVariant = variantWith(*shader, material->desc.defines, resource->name,
                                                  shaderResource->name, contextNames, log);
        }
    }
    for (int handle = 1; handle < resources.endHandle(); ++handle) {
        const Resource* resource = resources.get(handle, ResourceType::Geometry);
        if (const auto* geometry =
                resource != nullptr ? resource->payloadAs<LoadedGeometry>() : nullptr) {
            buildSkinnedVariants(resources, *geometry, contextNames, log);
        }
    }
}

}  // namespace engine
