#include "engine/render/pipeline_targets.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace engine {
namespace {

void warnAboutFallback(const RenderTargetDesc& desc, const GlCapabilities& capabilities,
                       MessageLog& log);

}  // namespace

bool PipelineTargets::resize(const PipelineDesc& pipeline, int width, int height,
                             const GlCapabilities& capabilities, MessageLog& log) {
    release();
    width_ = width;
    height_ = height;
    ++generation_;
    bool allMade = true;
    for (const RenderTargetDesc& desc : pipeline.targets) {
        warnAboutFallback(desc, capabilities, log);
        std::string error;
        std::optional<RenderTarget> target =
            RenderTarget::create(desc, scaledSide(width, desc.scale),
                                 scaledSide(height, desc.scale), capabilities, error);
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

namespace {

void warnAboutFallback(const RenderTargetDesc& desc, const GlCapabilities& capabilities,
                       MessageLog& log) {
    if (desc.format == TargetFormat::R11fG11fB10f && !capabilities.packedFloatTargets) {
        log.warning("target '" + desc.name + "': no packed float textures here; using " +
                    (capabilities.halfFloatTargets ? "rgba16f" : "rgba8"));
    } else if (desc.format == TargetFormat::Rgba16f && !capabilities.halfFloatTargets) {
        log.warning("target '" + desc.name + "': no float textures here; using rgba8");
    }
}

}  // namespace

}  // namespace engine
