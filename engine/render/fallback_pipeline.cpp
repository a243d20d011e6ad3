#include "engine/render/fallback_pipeline.h"

#include <glm/vec4.hpp>

#include "engine/resources/loaded_material.h"

namespace engine {
namespace {

PipelineCommand command(CommandKind kind, const char* context = "") {
    PipelineCommand made;
    made.kind = kind;
    made.context = context;
    return made;
}

}  // namespace

std::unique_ptr<LoadedPipeline> makeFallbackPipeline(ContextNames& contextNames) {
    PipelineCommand clear = command(CommandKind::Clear);
    clear.clearsColor = true;
    clear.clearColor = glm::vec4(0.02f, 0.02f, 0.05f, 1.0f);
    clear.clearsDepth = true;
    PipelineCommand screen = command(CommandKind::SwitchTarget);
    screen.target = kScreenTarget;

    auto pipeline = std::make_unique<LoadedPipeline>();
    PipelineStage stage;
    stage.name = "fallback";
    stage.commands = {screen, clear, command(CommandKind::DrawGeometry, kFallbackGeometryContext),
                      command(CommandKind::DrawOverlays, kFallbackOverlayContext)};
    pipeline->desc.stages.push_back(std::move(stage));

    ResolvedStage& resolved = pipeline->stages.emplace_back();
    resolved.stage = &pipeline->desc.stages.front();
    for (const PipelineCommand& each : resolved.stage->commands) {
        ResolvedCommand& record = resolved.commands.emplace_back();
        record.command = &each;
        record.contextId = contextNames.idOf(each.context);
    }
    return pipeline;
}

const Resource* brokenQuadResourceOf(const LoadedPipeline& pipeline,
                                     const ResourceTable& resources) {
    for (const ResolvedStage& stage : pipeline.stages) {
        for (const ResolvedCommand& command : stage.commands) {
            const Resource* material = resources.get(command.material, ResourceType::Material);
            if (command.command->kind != CommandKind::DrawQuad || material == nullptr) {
                continue;
            }
            const auto* loaded = material->payloadAs<LoadedMaterial>();
            if (loaded == nullptr) {
                return material;
            }
            const Resource* shader = resources.get(loaded->shader, ResourceType::Shader);
            if (shader != nullptr && !shader->loaded()) {
                return shader;
            }
        }
    }
    return nullptr;
}

}  // namespace engine
