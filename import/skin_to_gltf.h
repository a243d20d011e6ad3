// The scene's skins as one glTF skin: every bone of every mesh, by name, is a joint of it, so
// that each skinned primitive's JOINTS_0 counts in the same list however meshes are grouped.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <assimp/scene.h>

#include "import/glb_writer.h"

class SkinWriter {
  public:
    explicit SkinWriter(const aiScene& scene);

    bool any() const { return !jointNames_.empty(); }
    // Adds JOINTS_0 and WEIGHTS_0 (the four strongest bones of each vertex, weights summing to
    // one) to a skinned mesh's attributes.
    void writeWeights(const aiMesh& mesh, GlbWriter& glb, nlohmann::json& attributes) const;
    // Writes the skin once the nodes are written; nodes maps node names to glTF indices. False,
    // with a note, when a bone names no node.
    bool writeSkin(const std::map<std::string, int>& nodes, GlbWriter& glb,
                   std::vector<std::string>& notes) const;

  private:
    std::vector<std::string> jointNames_;
    std::vector<aiMatrix4x4> inverseBinds_;
    std::map<std::string, std::size_t> jointOfName_;
};
