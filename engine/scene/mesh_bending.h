// A bendable mesh's vertices worked out on the CPU: morph targets blended in, and skinning for
// the meshes the GPU cannot skin.
#pragma once

#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/geometry_motion.h"

namespace engine {

// Whether any weight blends a target in.
bool anyMorphWeight(const std::vector<float>& weights);

// The mesh's vertices with each target added at its weight (targets without a weight cost
// nothing); normals and tangents come out of unit length.
void blendMorphTargets(const BendableMesh& mesh, const std::vector<float>& weights,
                       std::vector<GeometryVertex>& vertices);

// Moves vertices (the mesh's, blended or not) into the world by their joints: jointRows holds
// three rows of each joint's matrix (see SkinPose).
void skinVertices(const BendableMesh& mesh, const std::vector<glm::vec4>& jointRows,
                  std::vector<GeometryVertex>& vertices);

}  // namespace engine
