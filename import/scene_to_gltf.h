// An imported scene written as binary glTF: its meshes (one primitive each, of points, lines or
// triangles), the node tree that places them, its materials, textures and lights.
#pragma once

#include <string>
#include <vector>

#include <assimp/scene.h>

#include "import/folder_files.h"

// More than these are refused, as the engine would refuse them in a glTF file.
constexpr std::size_t kMostVerticesPerMesh = std::size_t{1} << 25;
constexpr std::size_t kMostNodes = 1000000;

// The .glb bytes; what was left out goes to notes. Throws std::runtime_error for a scene over
// the limits.
std::string gltfOfScene(const aiScene& scene, FolderFiles& folder, std::vector<std::string>& notes);
