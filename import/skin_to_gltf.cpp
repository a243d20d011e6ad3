#include "import/skin_to_gltf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr std::size_t kMostJoints = 65535;
constexpr int kInfluences = 4;

}  // namespace

SkinWriter::SkinWriter(const aiScene& scene) {
    for (unsigned index = 0; index < scene.mNumMeshes; ++index) {
        const aiMesh& mesh = *scene.mMeshes[index];
        for (unsigned bone = 0; bone < mesh.mNumBones && jointNames_.size() < kMostJoints; ++bone) {
            const std::string name = mesh.mBones[bone]->mName.C_Str();
            if (jointOfName_.emplace(name, jointNames_.size()).second) {
                jointNames_.push_back(name);
                inverseBinds_.push_back(mesh.mBones[bone]->mOffsetMatrix);
            }
        }
    }
}

void SkinWriter::writeWeights(const aiMesh& mesh, GlbWriter& glb,
                              nlohmann::json& attributes) const {
    if (mesh.mNumBones == 0) {
        return;
    }
    struct Influence {
        std::uint16_t joint = 0;
        float weight = 0.0f;
    };
    std::vector<std::array<Influence, kInfluences>> influences(mesh.mNumVertices);
    for (unsigned bone = 0; bone < mesh.mNumBones; ++bone) {
        const aiBone& source = *mesh.mBones[bone];
        const auto joint = jointOfName_.find(source.mName.C_Str());
        if (joint == jointOfName_.end()) {
            continue;
        }
        for (unsigned at = 0; at < source.mNumWeights; ++at) {
            const aiVertexWeight& weight = source.mWeights[at];
            if (weight.mVertexId >= mesh.mNumVertices || !(weight.mWeight > 0.0f) ||
                !std::isfinite(weight.mWeight)) {
                continue;
            }
            // Keeps the strongest four: the weakest one held gives way.
            auto& held = influences[weight.mVertexId];
            auto weakest =
                std::min_element(held.begin(), held.end(),
                                 [](const auto& a, const auto& b) { return a.weight < b.weight; });
            if (weight.mWeight > weakest->weight) {
                *weakest = {static_cast<std::uint16_t>(joint->second), weight.mWeight};
            }
        }
    }
    std::vector<std::uint16_t> joints(mesh.mNumVertices * std::size_t{kInfluences});
    std::vector<float> weights(joints.size());
    for (std::size_t vertex = 0; vertex < influences.size(); ++vertex) {
        float sum = 0.0f;
        for (const Influence& influence : influences[vertex]) {
            sum += influence.weight;
        }
        for (int slot = 0; slot < kInfluences; ++slot) {
            const Influence& influence = influences[vertex][static_cast<std::size_t>(slot)];
            joints[vertex * kInfluences + static_cast<std::size_t>(slot)] = influence.joint;
            // A vertex no bone holds follows the first joint.
            weights[vertex * kInfluences + static_cast<std::size_t>(slot)] =
                sum > 0.0f ? influence.weight / sum : (slot == 0 ? 1.0f : 0.0f);
        }
    }
    const int jointView =
        glb.addView(joints.data(), joints.size() * sizeof(std::uint16_t), gltf::kArrayBuffer);
    attributes["JOINTS_0"] =
        glb.addAccessor(jointView, gltf::kUnsignedShort, influences.size(), "VEC4");
    const int weightView =
        glb.addView(weights.data(), weights.size() * sizeof(float), gltf::kArrayBuffer);
    attributes["WEIGHTS_0"] = glb.addAccessor(weightView, gltf::kFloat, influences.size(), "VEC4");
}

bool SkinWriter::writeSkin(const std::map<std::string, int>& nodes, GlbWriter& glb,
                           std::vector<std::string>& notes) const {
    nlohmann::json joints = nlohmann::json::array();
    for (const std::string& name : jointNames_) {
        const auto node = nodes.find(name);
        if (node == nodes.end()) {
            notes.push_back("the skin is left out: its bone '" + name + "' names no node");
            return false;
        }
        joints.push_back(node->second);
    }
    // glTF's matrices are column-major.
    std::vector<float> matrices;
    for (const aiMatrix4x4& matrix : inverseBinds_) {
        for (unsigned column = 0; column < 4; ++column) {
            for (unsigned row = 0; row < 4; ++row) {
                const float value = matrix[row][column];
                matrices.push_back(std::isfinite(value) ? value : 0.0f);
            }
        }
    }
    const int view = glb.addView(matrices.data(), matrices.size() * sizeof(float));
    const int inverseBinds = glb.addAccessor(view, gltf::kFloat, inverseBinds_.size(), "MAT4");
    glb.append("skins", {{"joints", std::move(joints)}, {"inverseBindMatrices", inverseBinds}});
    return true;
}
