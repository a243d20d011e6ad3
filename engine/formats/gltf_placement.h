// Where a glTF file's nodes put its meshes.
#pragma once

#include <vector>

#include <tiny_gltf.h>
#include <glm/mat4x4.hpp>

namespace engine {

// For each mesh, the world matrix of the first node (depth first from the roots, in file
// order) that uses it; identity for a mesh that no node uses. Node cycles are not followed.
std::vector<glm::mat4> meshPlacements(const tinygltf::Model& model);

}  // namespace engine
