// The glTF extensions the engine knows.
#pragma once

#include <tiny_gltf.h>

namespace engine {

// Throws FormatError naming the first extension the file requires that the engine does not know.
void checkRequiredExtensions(const tinygltf::Model& model);

}  // namespace engine
