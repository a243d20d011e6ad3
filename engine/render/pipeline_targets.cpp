#include "engine/render/pipeline_targets.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace engine {

bool PipelineTargets::resize(const PipelineDesc& pipeline, int width, int height,
                             const GlCapabilities& capabilities, MessageLog& log) {
    release();
    width_ = width;
    height_ = height;
    bool allMade = true;
    for (const RenderTargetDesc& desc : pipeline.targets) {
        if (desc.format == TargetFormat::Rgba16f && !capabilities.halfFloatTargets) {
            log.warning("target '" + desc.name + "': no float textures here; using rgba8");
        }
        std::string error;
        std::optional<RenderTarget> target = RenderTarget::create(
            desc, scaledSide(width, desc.scale), scaledSide(height, desc.scale),
            capabilities.halfFloatTargets, error);
        if (!target) {
            log.error("cannot make render target '" + desc.name + "': " + error);
            allMade = false;
            continue;
        }
        targets_.push_back({desc.name, std::move(*target)});
    }
    return allMade;
}

void PipelineTargets::release() {
    targets_.clear();
    width_ = 0;
    height_ = 0;
}

const RenderTarget* PipelineTargets::find(std::string_view name) const {
    auto found = std::find_if(targets_.begin(), targets_.end(),
                              [name](const NamedTarget& target) { return target.name == name; });
    return found == targets_.end() ? nullptr : &found->target;
}

int scaledSide(int side, float scale) {
    return std::max(1, static_cast<int>(std::lround(static_cast<float>(side) * scale)));
}

}  // namespace engine
