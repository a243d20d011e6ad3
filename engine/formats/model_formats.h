// The model formats a geometry resource may be: glTF, read by the engine itself, and the others,
// read by the model-import helper and handed over as binary glTF.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// ".glb, .gltf, .obj, .stl, ..." for messages that refuse a file.
std::string supportedModelExtensions();
// Whether the name's extension (any letter case) is one the import helper reads.
bool isImportedModelName(std::string_view name);
// Whether the name ends in .glb or .gltf (any letter case).
bool isGltfName(std::string_view name);
// Whether the bytes begin as binary glTF or as a JSON object (after a byte order mark and
// blanks): such a file is read as glTF whatever its name.
bool startsAsGltf(std::string_view bytes);
// The fault for a file that is neither glTF nor of an imported format.
std::string unsupportedModelFault(std::string_view name);

}  // namespace engine
