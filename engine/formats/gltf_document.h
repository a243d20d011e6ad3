// A glTF document read with tinygltf, reaching files beside it only through the caller's reader.
#pragma once

#include <string>
#include <string_view>

#include <tiny_gltf.h>

#include "engine/formats/gltf_geometry.h"
#include "engine/formats/gltf_materials.h"

namespace engine {

// False, with tinygltf's complaint in error, when the bytes are not a readable glTF document.
// Images are not decoded: the encoded bytes of those inside the file go to embedded, and images
// beside it are not read, as each is an ordinary texture of its own.
bool loadGltfDocument(std::string_view bytes, const SideFileReader& readSideFile,
                      tinygltf::Model& model, EmbeddedImages& embedded, std::string& error);

}  // namespace engine
