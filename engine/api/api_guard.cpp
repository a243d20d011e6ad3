#include "engine/api/api_guard.h"

namespace engine {

void reportNotRunning(const char* call) noexcept {
    try {
        messageLog().warning(std::string(call) + ": the engine is not running (call h3dInit)");
    } catch (...) {
        // Out of memory even for the message: nothing more can be said.
    }
}

void reportInternalError(const char* call, const char* what) noexcept {
    try {
        messageLog().error(std::string(call) + ": internal error: " + what);
    } catch (...) {
        // As above.
    }
}

Resource* resourceOrReport(Engine& engine, const char* call, H3DRes handle) {
    Resource* resource = engine.resources.get(handle);
    if (resource == nullptr) {
        messageLog().warning(std::string(call) + ": " + std::to_string(handle) +
                             " is not a resource");
    }
    return resource;
}

Resource* resourceOrReport(Engine& engine, const char* call, H3DRes handle, ResourceType type) {
    Resource* resource = resourceOrReport(engine, call, handle);
    if (resource != nullptr && resource->type != type) {
        messageLog().warning(std::string(call) + ": resource " + std::to_string(handle) + " ('" +
                             resource->name + "') is not a " + resourceTypeName(type));
        return nullptr;
    }
    return resource;
}

SceneNode* nodeOrReport(Engine& engine, const char* call, H3DNode handle) {
    SceneNode* node = engine.scene.find(handle);
    if (node == nullptr) {
        messageLog().warning(std::string(call) + ": " + std::to_string(handle) + " is not a node");
    }
    return node;
}

CameraSettings* cameraOrReport(Engine& engine, const char* call, H3DNode handle) {
    SceneNode* node = nodeOrReport(engine, call, handle);
    if (node == nullptr) {
        return nullptr;
    }
    auto* camera = std::get_if<CameraSettings>(&node->settings);
    if (camera == nullptr) {
        messageLog().warning(std::string(call) + ": node " + std::to_string(handle) + " ('" +
                             node->name + "') is not a camera");
    }
    return camera;
}

bool presentOrReport(const char* call, const void* pointer, const char* what) {
    if (pointer == nullptr) {
        messageLog().warning(std::string(call) + ": the " + what + " is missing (null)");
        return false;
    }
    return true;
}

}  // namespace engine
