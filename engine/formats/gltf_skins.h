// glTF skins: each vertex's joints and weights, and the skins that name the joints.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_accessors.h"
#include "engine/formats/gltf_geometry.h"

namespace engine {

// More joints than this in one skin are refused: joint indices are held in 16 bits.
constexpr std::size_t kMaxSkinJoints = 65536;

struct PrimitiveSkin {
    std::vector<SkinVertex> vertices;
    bool eightInfluences = false;
    std::uint32_t highestJoint = 0;
};

// A vertex attribute of the primitive by name, one element per vertex; nothing when it has none.
// Throws FormatError when it cannot be read.
using VertexAttributeReader =
    std::function<std::optional<std::vector<glm::vec4>>(const std::string& name)>;

// JOINTS_0 and WEIGHTS_0, with JOINTS_1 and WEIGHTS_1 where present, weights renormalised to sum
// to one; nothing when the primitive has none, or, with a warning, when they do not hold
// together.
std::optional<PrimitiveSkin> readSkinVertices(const VertexAttributeReader& readAttribute,
                                              std::size_t vertexCount, const std::string& what,
                                              std::vector<std::string>& warnings);

// The file's skins with joints as indices into the scene's nodes (sceneIndexOfFileNode, -1 for
// a node outside the scene). A skin that does not hold together keeps its place with no joints
// and a warning.
std::vector<GeometrySkin> readGltfSkins(const tinygltf::Model& model, GltfAccessors& accessors,
                                        const std::vector<int>& sceneIndexOfFileNode,
                                        std::vector<std::string>& warnings);

// Checks each node's skin against its mesh (joints on every primitive, none past the skin's),
// leaving it out with a warning where they do not match, and makes the skins' joint boxes.
void bindSkins(GeometryDesc& geometry);

}  // namespace engine
