// Overlays (text and 2D quads over the picture) queued for the current frame. Nothing queues
// them yet; drawing them is the pipeline's drawOverlays command.
#pragma once

#include <utility>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/h3d.h"

namespace engine {

struct Overlay {
    H3DRes material = 0;
    glm::vec4 color{1.0f};
    // x, y, u, v per corner, in normalized screen coordinates.
    std::vector<float> corners;
};

class OverlayQueue {
  public:
    void add(Overlay overlay) { overlays_.push_back(std::move(overlay)); }
    void clear() { overlays_.clear(); }
    const std::vector<Overlay>& overlays() const { return overlays_; }

  private:
    std::vector<Overlay> overlays_;
};

}  // namespace engine
