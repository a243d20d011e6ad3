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

// One build of every context of the shader, with the defines of the materials that use it.
struct ShaderVariant {
    std::vector<std::string> defines;
    std::vector<ContextProgram> programs;
};

struct LoadedShader : ResourcePayload {
    ShaderDesc desc;
    // Variant 0, built when the shader loads, has no defines; the others are built for the
    // materials that ask for them as soon as both have loaded.
    std::vector<ShaderVariant> variants;

    // 0 when the shader has no such context.
    GLuint program(std::string_view context, int variant = 0) const {
        for (const ContextProgram& entry :
             variants.at(static_cast<std::size_t>(variant)).programs) {
            if (entry.context == context) {
                return entry.program.get();
            }
        }
        return 0;
    }
    // Nothing when the shader has no such context or variant.
    ContextProgram* find(int contextId, int variant = 0) {
        if (variant < 0 || static_cast<std::size_t>(variant) >= variants.size()) {
            return nullptr;
        }
        for (ContextProgram& entry : variants[static_cast<std::size_t>(variant)].programs) {
            if (entry.contextId == contextId) {
                return &entry;
            }
        }
        return nullptr;
    }
    // -1 when no variant has exactly these defines.
    int findVariant(const std::vector<std::string>& defines) const {
        for (std::size_t index = 0; index < variants.size(); ++index) {
            if (variants[index].defines == defines) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }
};

}  // namespace engine
