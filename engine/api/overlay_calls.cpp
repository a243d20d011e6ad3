// Queuing text overlays for the current frame.
#include <cmath>
#include <cstring>
#include <string>

#include "engine/api/api_guard.h"
#include "engine/h3dut.h"

using namespace engine;

namespace {

// A frame's queue beyond this many characters points at a missing h3dClearOverlays; the
// limit keeps such a program from growing without end.
constexpr std::size_t kMaximumQueuedCharacters = 1 << 20;

bool placementUsable(const TextPlacement& placement) {
    const float numbers[] = {placement.x,       placement.y,       placement.size,
                             placement.color.r, placement.color.g, placement.color.b};
    for (float number : numbers) {
        if (!std::isfinite(number)) {
            return false;
        }
    }
    return placement.size > 0.0f;
}

}  // namespace

void h3dutShowText(const char* text, float x, float y, float size, float r, float g, float b,
                   H3DRes fontMaterialResource) {
    withEngine("h3dutShowText", [&](Engine& engine) {
        if (!presentOrReport("h3dutShowText", text, "text") ||
            resourceOrReport(engine, "h3dutShowText", fontMaterialResource,
                             ResourceType::Material) == nullptr) {
            return;
        }
        TextPlacement placement{x, y, size, glm::vec3(r, g, b)};
        if (!placementUsable(placement)) {
            messageLog().warning(
                "h3dutShowText: position and colour must be finite numbers and the size above 0");
            return;
        }
        OverlayQueue& queue = engine.renderer.overlays();
        if (queue.characterCount() + std::strlen(text) > kMaximumQueuedCharacters) {
            messageLog().warning(
                "h3dutShowText: the overlay queue is full; is h3dClearOverlays "
                "called after each frame?");
            return;
        }
        queue.addText(text, placement, fontMaterialResource);
    });
}
