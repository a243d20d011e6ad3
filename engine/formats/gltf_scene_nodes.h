// The nodes of a glTF file's scene, in the order the engine instantiates them.
#pragma once

#include <cstddef>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// More nodes than this in one file's scene are refused.
constexpr std::size_t kMaxSceneNodes = 1000000;

// The file's scene (its "scene", else its first, else every node that is no other's child)
// depth first, parents before their children. A node that is a child twice or its own
// ancestor, a scene that reaches a node twice, a node or mesh that does not exist, or more than
// kMaxSceneNodes nodes throw FormatError.
std::vector<GeometryNode> sceneNodes(const tinygltf::Model& model);

}  // namespace engine
