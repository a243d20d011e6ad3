// glTF animations: each channel's sampler read into key times and values, checked against the
// nodes and morph targets it animates.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_accessors.h"
#include "engine/formats/gltf_geometry.h"

namespace engine {

// More animations than this in one file are left out, as are key values beyond
// kMaxAnimationValues in all.
constexpr std::size_t kMaxAnimations = 4096;
constexpr std::size_t kMaxAnimationValues = std::size_t{1} << 26;

// The file's animations, with channels naming nodes of the scene (those to nodes outside it
// animate nothing and are dropped). An animation that does not hold together is left out with
// one warning naming it, the channel and the fault. Marks the nodes they move (and those below)
// as animated.
std::vector<GeometryAnimation> readGltfAnimations(const tinygltf::Model& model,
                                                  GltfAccessors& accessors,
                                                  const std::vector<int>& sceneIndexOfFileNode,
                                                  GeometryDesc& geometry);

}  // namespace engine
