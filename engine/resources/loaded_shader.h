// A loaded shader: its description and one linked program per context.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/formats/shader_format.h"
#include "engine/render/gl_object.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct ContextProgram {
    std::string context;
    GlProgram program;
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
};

}  // namespace engine
