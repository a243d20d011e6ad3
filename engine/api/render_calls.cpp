// Rendering a frame through a camera, finishing it, and the overlay queue.
#include "engine/api/api_guard.h"
#include "engine/h3d.h"

using namespace engine;

void h3dRender(H3DNode cameraNode) {
    withEngine("h3dRender", [&](Engine& engine) {
        if (cameraOrReport(engine, "h3dRender", cameraNode) == nullptr) {
            return;
        }
        engine.renderer.render(engine.scene, engine.resources, cameraNode,
                               engine.options.shadowMapSize(), messageLog());
    });
}

float h3dGetStat(int stat) {
    return withEngine("h3dGetStat", 0.0f, [&](Engine& engine) {
        const FrameFigures& figures = engine.renderer.finishedFigures();
        switch (stat) {
            case H3DStats::TriangleCount:
                return static_cast<float>(figures.triangles);
            case H3DStats::DrawCallCount:
                return static_cast<float>(figures.drawCalls);
            case H3DStats::PoseTime:
                return static_cast<float>(figures.poseMilliseconds);
            case H3DStats::EnvironmentTime:
                return static_cast<float>(engine.renderer.environment().milliseconds);
            default:
                messageLog().warning("h3dGetStat: unknown figure " + std::to_string(stat));
                return 0.0f;
        }
    });
}

void h3dFinalizeFrame() {
    withEngine("h3dFinalizeFrame", [](Engine& engine) { engine.renderer.finalizeFrame(); });
}

void h3dClearOverlays() {
    withEngine("h3dClearOverlays", [](Engine& engine) { engine.renderer.overlays().clear(); });
}
