#include "engine/formats/gltf_morph_targets.h"

#include <cmath>

#include "engine/formats/format_error.h"

namespace engine {
namespace {

bool isFinite(const glm::vec3& value) {
    return std::isfinite(value.x) && std::isfinite(value.y) && std::isfinite(value.z);
}

}  // namespace

std::vector<MorphTarget> MorphTargetReader::read(const tinygltf::Primitive& primitive,
                                                 std::size_t vertexCount, const std::string& what,
                                                 std::vector<std::string>& warnings) {
    std::vector<MorphTarget> targets;
    if (primitive.targets.empty()) {
        return targets;
    }
    try {
        if (primitive.targets.size() > kMaxMorphTargets) {
            throw FormatError(what + " has more than " + std::to_string(kMaxMorphTargets) +
                              " morph targets");
        }
        const std::size_t cost = primitive.targets.size() * vertexCount;
        if (cost > kMaxMorphTargetVertices - targetVerticesRead_) {
            throw FormatError(what + " has more morph target data than is read from one file");
        }
        targetVerticesRead_ += cost;
        for (std::size_t index = 0; index < primitive.targets.size(); ++index) {
            targets.push_back(readTarget(primitive.targets[index], vertexCount,
                                         what + " morph target " + std::to_string(index)));
        }
    } catch (const FormatError& error) {
        warnings.push_back(std::string(error.what()) + "; its morph targets are left out");
        targets.clear();
    }
    return targets;
}

MorphTarget MorphTargetReader::readTarget(const std::map<std::string, int>& attributes,
                                          std::size_t vertexCount, const std::string& what) {
    std::vector<glm::vec4> offsets[3];
    const char* const names[3] = {"POSITION", "NORMAL", "TANGENT"};
    for (int kind = 0; kind < 3; ++kind) {
        auto found = attributes.find(names[kind]);
        if (found == attributes.end()) {
            continue;
        }
        const std::string attributeWhat = what + " " + names[kind];
        if (accessors_.count(found->second, {TINYGLTF_TYPE_VEC3}, attributeWhat) != vertexCount) {
            throw FormatError(attributeWhat + " has another length than the primitive");
        }
        offsets[kind] = accessors_.readVectors(found->second, {TINYGLTF_TYPE_VEC3}, attributeWhat);
    }
    MorphTarget target;
    for (std::size_t vertex = 0; vertex < vertexCount; ++vertex) {
        glm::vec3 moved[3] = {glm::vec3(0.0f), glm::vec3(0.0f), glm::vec3(0.0f)};
        bool moves = false;
        for (int kind = 0; kind < 3; ++kind) {
            if (!offsets[kind].empty()) {
                moved[kind] = glm::vec3(offsets[kind][vertex]);
                if (!isFinite(moved[kind])) {
                    throw FormatError(what + " has an offset that is not finite");
                }
                moves = moves || moved[kind] != glm::vec3(0.0f);
            }
        }
        if (moves) {
            target.vertices.push_back(static_cast<std::uint32_t>(vertex));
            target.positions.push_back(moved[0]);
            target.normals.push_back(moved[1]);
            target.tangents.push_back(moved[2]);
        }
    }
    return target;
}

std::vector<float> meshMorphWeights(const tinygltf::Mesh& mesh, GeometryMesh& built,
                                    const std::string& what, std::vector<std::string>& warnings) {
    if (built.primitives.empty()) {
        return {};
    }
    const std::size_t count = built.primitives.front().targets.size();
    for (GeometryPrimitive& primitive : built.primitives) {
        if (primitive.targets.size() != count) {
            warnings.push_back(what +
                               " has primitives with different numbers of morph targets;"
                               " they are left out");
            for (GeometryPrimitive& each : built.primitives) {
                each.targets.clear();
            }
            return {};
        }
    }
    std::vector<float> weights(count, 0.0f);
    for (std::size_t index = 0; index < count && index < mesh.weights.size(); ++index) {
        const auto weight = static_cast<float>(mesh.weights[index]);
        weights[index] = std::isfinite(weight) ? weight : 0.0f;
    }
    return weights;
}

}  // namespace engine
