// The scene's node animations as glTF animations: keyframes of translation, rotation and scale
// per node, sampled linearly, for an engine that plays glTF animations to play.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include <assimp/scene.h>

#include "import/glb_writer.h"

// Names of the nodes some animation moves: glTF animates only nodes written as translation,
// rotation and scale, not as a matrix.
std::set<std::string> animatedNodeNames(const aiScene& scene);

// Writes every animation; nodes maps node names to their glTF index. Channels that name no node
// or whose key times do not grow are left out with a note.
void writeAnimations(const aiScene& scene, const std::map<std::string, int>& nodes, GlbWriter& glb,
                     std::vector<std::string>& notes);
