// Draws a full-screen pass: one triangle that covers the target (cheaper than two, which would
// shade the pixels along their shared edge twice), with a material's program for a context and
// render targets bound to the command's input samplers.
#pragma once

#include "engine/formats/pipeline_format.h"
#include "engine/gpu/gl_object.h"
#include "engine/h3d.h"
#include "engine/render/mesh_pass.h"
#include "engine/render/pass_uniforms.h"
#include "engine/render/pipeline_targets.h"

namespace engine {

class QuadPass {
  public:
    // Needs the engine's context current.
    QuadPass();

    // Passed over when the material is not loaded or its shader lacks the context.
    void draw(const PipelineCommand& command, H3DRes materialHandle, int contextId,
              const PipelineTargets& targets, const PassUniforms& pass, MeshPassTools& tools);

  private:
    GlBuffer triangle_;

    void bindInputs(const PipelineCommand& command, const MaterialProgramLocations& locations,
                    int firstUnit, const PipelineTargets& targets) const;
    void drawTriangle() const;
};

}  // namespace engine
