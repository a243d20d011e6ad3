// Compiling and linking one shader context's vertex and fragment programs.
#pragma once

#include <optional>
#include <string>

#include "engine/gpu/gl_object.h"

namespace engine {

// Nothing, with the compiler's or linker's log in error, when the programs do not build.
std::optional<GlProgram> buildProgram(const std::string& vertexSource,
                                      const std::string& fragmentSource, std::string& error);

}  // namespace engine
