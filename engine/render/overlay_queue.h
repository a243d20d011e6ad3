// The text overlays queued for the current frame, drawn by the pipeline's drawOverlays command
// and dropped by h3dClearOverlays. Texts share one character buffer, so a frame that queues
// what the previous one did allocates nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/h3d.h"

namespace engine {

// Where a line of text goes, in fractions of the viewport: x, y its top-left corner (0, 0 is
// the viewport's top-left corner), size the character height as a share of the viewport height.
struct TextPlacement {
    float x = 0.0f;
    float y = 0.0f;
    float size = 0.0f;
    glm::vec3 color{1.0f};
};

struct TextOverlay {
    H3DRes fontMaterial = 0;
    TextPlacement placement;
    std::size_t textStart = 0;
    std::size_t textLength = 0;
};

class OverlayQueue {
  public:
    void addText(std::string_view text, const TextPlacement& placement, H3DRes fontMaterial) {
        texts_.push_back({fontMaterial, placement, characters_.size(), text.size()});
        characters_.append(text);
    }
    void clear() {
        texts_.clear();
        characters_.clear();
    }
    bool empty() const { return texts_.empty(); }
    std::size_t characterCount() const { return characters_.size(); }
    const std::vector<TextOverlay>& texts() const { return texts_; }
    std::string_view textOf(const TextOverlay& overlay) const {
        return std::string_view(characters_).substr(overlay.textStart, overlay.textLength);
    }

  private:
    std::vector<TextOverlay> texts_;
    std::string characters_;
};

}  // namespace engine
