// The one engine instance: everything h3dInit creates and h3dRelease frees.
#pragma once

#include <string>

#include <epoxy/gl.h>

#include "engine/base/engine_options.h"
#include "engine/base/message_log.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/render/renderer.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

struct Engine {
    Engine(GLuint screenFramebuffer, const GlCapabilities& capabilities)
        : renderer(screenFramebuffer, capabilities) {}

    EngineOptions options;
    ResourceTable resources;
    SceneGraph scene;
    Renderer renderer;
    // The text h3dGetResParamStr returned last, kept until its next call.
    std::string returnedText;
};

// Nothing while the engine is not running.
Engine* runningEngine();
// Starts the engine in the current OpenGL context. False, with the reason in the log, when it
// already runs (it is left as it is) or the context cannot run it.
bool startEngine(MessageLog& log);
// Frees everything the engine holds, OpenGL objects included; nothing when it is not running.
void stopEngine();

}  // namespace engine
