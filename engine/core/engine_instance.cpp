#include "engine/core/engine_instance.h"

#include <memory>
#include <optional>
#include <string>

#include "engine/base/freed_memory.h"

namespace engine {
namespace {

std::unique_ptr<Engine>& engineSlot() {
    static std::unique_ptr<Engine> engine;
    return engine;
}

}  // namespace

Engine* runningEngine() {
    return engineSlot().get();
}

bool startEngine(MessageLog& log) {
    if (engineSlot()) {
        log.warning("the engine is already running; call h3dRelease before starting it again");
        return false;
    }
    if (std::optional<std::string> reason = unsupportedContextReason()) {
        log.error("cannot start the engine: " + *reason);
        return false;
    }
    // The framebuffer bound now is what "screen" means to the pipelines.
    GLint screenFramebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &screenFramebuffer);
    const GlCapabilities capabilities = queryCapabilities();
    keepFreedMemoryForReuse();
    engineSlot() = std::make_unique<Engine>(static_cast<GLuint>(screenFramebuffer), capabilities);
    log.resetLimits();
    if (capabilities.softwareRasterizer && capabilities.anisotropicFiltering) {
        log.info("anisotropic filtering stays off on the software rasterizer '" +
                 capabilities.rendererName + "': it would halve the frame rate");
    }
    return true;
}

void stopEngine() {
    engineSlot().reset();
    returnFreedMemory();
}

}  // namespace engine
