// A loaded shader: its description and one linked program per context.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formats/shader_format.h"
#include "engine/gpu/engine_uniforms.h"
#include "engine/gpu/gl_object.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct ContextProgram {
    std::string context;
    // The context's number among all context names (see ContextNames).
    int contextId = -1;
    GlProgram program;
    EngineUniforms uniforms;
    // The pass whose camera and light uniforms the program holds, so that each pass sets them
    // once per program rather than once per draw.
    std::uint64_t passStamp = 0;
};

struct LoadedShader : ResourcePayload {
    ShaderDesc desc;
    std::vector<ContextProgram> programs;

    // 0 when the shader has no such context.
    GLuint program(std::string_view context) const {
        for (const ContextProgram& entry : programs) {
            if (entry.context == context) {
                return entry.program.get();
            }
        }
        return 0;
    }
    // Nothing when the shader has no such context.
    ContextProgram* find(int contextId) {
        for (ContextProgram& entry : programs) {
            if (entry.contextId == contextId) {
                return &entry;
            }
        }
        return nullptr;
    }
};

}  // namespace engine
