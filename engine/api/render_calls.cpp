// Rendering a frame through a camera, finishing it, and the overlay queue.
#include "engine/api/api_guard.h"
#include "engine/h3d.h"

using namespace engine;

void h3dRender(H3DNode cameraNode) {
    withEngine("h3dRender", [&](Engine& engine) {
        if (cameraOrReport(engine, "h3dRender", cameraNode) == nullptr) {
            return;
        }
        engine.renderer.render(engine.scene, engine.resources, cameraNode, messageLog());
    });
}

void h3dFinalizeFrame() {
    withEngine("h3dFinalizeFrame", [](Engine& engine) { engine.renderer.finalizeFrame(); });
}

void h3dClearOverlays() {
    withEngine("h3dClearOverlays", [](Engine& engine) { engine.renderer.overlays().clear(); });
}
