// The wall between the interface and the engine: every call runs through withEngine, which
// answers a call before h3dInit or after h3dRelease with a message, and turns anything thrown
// inside into a message, so nothing escapes across the interface.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "engine/base/message_log.h"
#include "engine/core/engine_instance.h"
#include "engine/h3d.h"
#include "engine/scene/scene_node.h"

namespace engine {

void reportNotRunning(const char* call) noexcept;
void reportInternalError(const char* call, const char* what) noexcept;

// body(Engine&) gives the result; fallback stands in when it cannot run or throws.
template <typename Result, typename Body>
Result withEngine(const char* call, Result fallback, Body&& body) noexcept {
    try {
        Engine* engine = runningEngine();
        if (engine == nullptr) {
            reportNotRunning(call);
            return fallback;
        }
        return std::forward<Body>(body)(*engine);
    } catch (const std::exception& error) {
        reportInternalError(call, error.what());
    } catch (...) {
        reportInternalError(call, "unknown error");
    }
    return fallback;
}

template <typename Body>
void withEngine(const char* call, Body&& body) noexcept {
    withEngine(call, 0, [&body](Engine& engine) {
        std::forward<Body>(body)(engine);
        return 0;
    });
}

// Lookups that leave a message naming the call when the handle does not fit.
Resource* resourceOrReport(Engine& engine, const char* call, H3DRes handle);
Resource* resourceOrReport(Engine& engine, const char* call, H3DRes handle, ResourceType type);
SceneNode* nodeOrReport(Engine& engine, const char* call, H3DNode handle);
CameraSettings* cameraOrReport(Engine& engine, const char* call, H3DNode handle);
// False, with a message, when a pointer the caller passed is null.
bool presentOrReport(const char* call, const void* pointer, const char* what);

}  // namespace engine
