#include "engine/render/quad_pass.h"

#include "engine/gpu/blend_state.h"
#include "engine/gpu/buffer_upload.h"
#include "engine/gpu/engine_uniforms.h"
#include "engine/render/material_state.h"

namespace engine {
namespace {

// Clip-space corners of a triangle whose inside covers the square from -1 to 1.
const GLfloat kCoveringTriangle[] = {-1.0f, -1.0f, 0.0f, 3.0f, -1.0f, 0.0f, -1.0f, 3.0f, 0.0f};

}  // namespace

QuadPass::QuadPass()
    : triangle_(uploadStaticBuffer(GL_ARRAY_BUFFER, kCoveringTriangle, sizeof kCoveringTriangle)) {}

void QuadPass::draw(const PipelineCommand& command, H3DRes materialHandle, int contextId,
                    const PipelineTargets& targets, const PassUniforms& pass,
                    MeshPassTools& tools) {
    const Resource* materialResource = tools.resources.get(materialHandle, ResourceType::Material);
    const auto* material =
        materialResource != nullptr ? materialResource->payloadAs<LoadedMaterial>() : nullptr;
    const Resource* shaderResource =
        material != nullptr ? tools.resources.get(material->shader, ResourceType::Shader) : nullptr;
    auto* shader = shaderResource != nullptr ? shaderResource->payloadAs<LoadedShader>() : nullptr;
    ContextProgram* program = shader != nullptr ? shader->find(contextId) : nullptr;
    if (program == nullptr) {
        return;
    }
    glUseProgram(program->program.get());
    applyPassUniforms(*program, pass);
    const MaterialProgramLocations& locations =
        tools.locations.find(materialHandle, *material, program->program.get(), &command);
    const int units = applyMaterialState(locations, *material, tools.resources, tools.standIns);
    bindInputs(command, locations, units, targets);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    applyBlend(command.blend);
    drawTriangle();
    glUseProgram(0);
    tools.stats.countDraw(1);
}

void QuadPass::bindInputs(const PipelineCommand& command, const MaterialProgramLocations& locations,
                          int firstUnit, const PipelineTargets& targets) const {
    int unit = firstUnit;
    for (std::size_t index = 0; index < command.inputs.size() && unit < kMostMaterialTextures;
         ++index) {
        const QuadInput& input = command.inputs[index];
        const RenderTarget* target = targets.find(input.target);
        if (target == nullptr || locations.inputs[index] < 0) {
            continue;
        }
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glBindTexture(GL_TEXTURE_2D, target->colorTexture(input.buffer));
        target->useFiltering(input.buffer, input.nearest);
        glUniform1i(locations.inputs[index], unit);
        ++unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

void QuadPass::drawTriangle() const {
    glBindBuffer(GL_ARRAY_BUFFER, triangle_.get());
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace engine
