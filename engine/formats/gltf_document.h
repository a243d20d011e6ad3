// A glTF document read with tinygltf, reaching files beside it only through the caller's reader.
#pragma once

#include <string>
#include <string_view>

#include <tiny_gltf.h>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// False, with tinygltf's complaint in error, when the bytes are not a readable glTF document.
bool loadGltfDocument(std::string_view bytes, const SideFileReader& readSideFile,
                      tinygltf::Model& model, std::string& error);

}  // namespace engine
