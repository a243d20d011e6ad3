// The render targets of one pipeline, made for a viewport size and remade when it changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/message_log.h"
#include "engine/formats/pipeline_format.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/gpu/render_target.h"

namespace engine {

class PipelineTargets {
  public:
    // Makes every target at its scale of width x height. False, with a message for each target
    // that failed, when any could not be made; the others are still usable.
    bool resize(const PipelineDesc& pipeline, int width, int height,
                const GlCapabilities& capabilities, MessageLog& log);
    void release();

    bool sized() const { return width_ > 0; }
    // Grows whenever the targets are made anew, which loses what they held.
    std::uint64_t generation() const { return generation_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const RenderTarget* find(std::string_view name) const;

  private:
    struct NamedTarget {
        std::string name;
        RenderTarget target;
    };

    std::vector<NamedTarget> targets_;
    int width_ = 0;
    int height_ = 0;
    std::uint64_t generation_ = 0;
};

// The size of a target of this scale for a viewport side, at least one pixel.
int scaledSide(int side, float scale);

}  // namespace engine
