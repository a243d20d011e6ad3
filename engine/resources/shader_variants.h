// Builds of a shader with the defines its materials ask for. Every build a material needs is
// made when the material and its shader have loaded, never while drawing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/base/message_log.h"
#include "engine/formats/shader_format.h"
#include "engine/resources/context_names.h"
#include "engine/resources/loaded_shader.h"
#include "engine/resources/resource_table.h"

namespace engine {

// Every context compiled and linked with the defines; nothing, with the context and the
// compiler's log in error, when one does not build.
std::optional<ShaderVariant> buildShaderVariant(const ShaderDesc& shader,
                                                const std::vector<std::string>& defines,
                                                ContextNames& contextNames, std::string& error);
// Gives each loaded material still waiting for its shader's build the build of its defines,
// made now unless another material has it; a build that fails leaves an error naming the
// material and the material undrawn.
void buildPendingVariants(const ResourceTable& resources, ContextNames& contextNames,
                          MessageLog& log);

}  // namespace engine
