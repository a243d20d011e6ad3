// glTF morph targets: per primitive, offsets of positions, normals and tangents that the
// mesh's weights blend in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_accessors.h"
#include "engine/formats/gltf_geometry.h"

namespace engine {

// More targets than this on one primitive are refused.
constexpr std::size_t kMaxMorphTargets = 1024;
// Targets times vertices read from one file; more would cost time and memory past any real file.
constexpr std::size_t kMaxMorphTargetVertices = std::size_t{1} << 27;

class MorphTargetReader {
  public:
    explicit MorphTargetReader(GltfAccessors& accessors) : accessors_(accessors) {}

    // The primitive's targets, keeping only the vertices each moves; none when it has none,
    // or, with a warning, when they do not hold together.
    std::vector<MorphTarget> read(const tinygltf::Primitive& primitive, std::size_t vertexCount,
                                  const std::string& what, std::vector<std::string>& warnings);

  private:
    GltfAccessors& accessors_;
    std::size_t targetVerticesRead_ = 0;

    MorphTarget readTarget(const std::map<std::string, int>& attributes, std::size_t vertexCount,
                           const std::string& what);
};

// The mesh's default weights: its own, else zeros; one per target of its first primitive.
// Primitives with another number of targets lose theirs, with a warning.
std::vector<float> meshMorphWeights(const tinygltf::Mesh& mesh, GeometryMesh& built,
                                    const std::string& what, std::vector<std::string>& warnings);

}  // namespace engine
