// Shader files: GLSL 1.20 vertex and fragment programs for named contexts ("ambient",
// "lighting", "shadow", "final", ...), with optional code shared by every program of the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/formats/parsed.h"

namespace engine {

enum class ShaderStage { Vertex, Fragment };

struct ShaderContextDesc {
    std::string name;
    int line = 0;
    std::string vertexSource;
    std::string fragmentSource;
};

struct ShaderDesc {
    std::string sharedSource;
    std::vector<ShaderContextDesc> contexts;
};

Parsed<ShaderDesc> parseShader(std::string_view text);

const ShaderContextDesc* findContext(const ShaderDesc& shader, std::string_view name);
// The complete program text handed to OpenGL: the version line, VERTEX_PROGRAM or
// FRAGMENT_PROGRAM and each of defines as #define lines, the shared code, the stage's code,
// numbered as if the shared code followed the version line.
std::string composeProgramSource(const ShaderDesc& shader, const ShaderContextDesc& context,
                                 ShaderStage stage, const std::vector<std::string>& defines = {});

}  // namespace engine
