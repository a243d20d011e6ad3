// Draws the queued text overlays onto the current target: every glyph of the frame goes into
// one vertex buffer that lives as long as the renderer, then one draw call per run of texts
// that share a font material.
#pragma once

#include <string>
#include <vector>

#include <epoxy/gl.h>

#include "engine/formats/pipeline_format.h"
#include "engine/gpu/gl_object.h"
#include "engine/gpu/stand_in_textures.h"
#include "engine/render/frame_stats.h"
#include "engine/render/material_locations.h"
#include "engine/render/overlay_layout.h"
#include "engine/render/overlay_queue.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/resource_table.h"

namespace engine {

// What an overlay command draws with.
struct OverlayInputs {
    const OverlayQueue& queue;
    const ResourceTable& resources;
    const StandInTextures& standIns;
    FrameStats& stats;
};

class OverlayRenderer {
  public:
    // Texts whose material is not loaded, or whose shader lacks the context, are passed over.
    void draw(const OverlayInputs& inputs, const std::string& context, BlendMode blend);

  private:
    struct Batch {
        H3DRes materialHandle = 0;
        const LoadedMaterial* material = nullptr;
        GLuint program = 0;
        GLint first = 0;
        GLsizei count = 0;
    };

    GlBuffer buffer_;
    std::size_t bufferBytes_ = 0;
    // Kept between frames so that their storage is reused.
    std::vector<OverlayVertex> vertices_;
    std::vector<Batch> batches_;
    MaterialLocations locations_;

    void collect(const OverlayInputs& inputs, const std::string& context, PixelSize viewport);
    void upload();
    void drawBatches(const OverlayInputs& inputs, BlendMode blend);
};

}  // namespace engine
