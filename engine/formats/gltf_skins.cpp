#include "engine/formats/gltf_skins.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

using VertexWeights = std::array<float, 8>;

void addInfluences(const std::vector<glm::vec4>& joints, const std::vector<glm::vec4>& weights,
                   int firstSlot, PrimitiveSkin& skin, std::vector<VertexWeights>& weighted);
void storeWeights(const std::vector<VertexWeights>& weighted, PrimitiveSkin& skin);
std::string skinLabel(const tinygltf::Skin& skin, std::size_t index);
GeometrySkin readSkin(const tinygltf::Skin& skin, GltfAccessors& accessors,
                      const std::vector<int>& sceneIndexOfFileNode, const std::string& label);
std::string skinMismatch(const GeometryMesh& mesh, const GeometrySkin& skin);
void addJointBoxes(const GeometryDesc& geometry, const GeometryMesh& mesh, GeometrySkin& skin);

}  // namespace

std::optional<PrimitiveSkin> readSkinVertices(const VertexAttributeReader& readAttribute,
                                              std::size_t vertexCount, const std::string& what,
                                              std::vector<std::string>& warnings) {
    try {
        PrimitiveSkin skin;
        std::vector<VertexWeights> weighted;
        for (int set = 0; set < 2; ++set) {
            const std::string suffix = "_" + std::to_string(set);
            std::optional<std::vector<glm::vec4>> joints = readAttribute("JOINTS" + suffix);
            std::optional<std::vector<glm::vec4>> weights = readAttribute("WEIGHTS" + suffix);
            if (!joints && !weights) {
                if (set == 0) {
                    return std::nullopt;
                }
                continue;
            }
            if (!joints || !weights) {
                throw FormatError(what + " has JOINTS" + suffix + " or WEIGHTS" + suffix +
                                  " without the other");
            }
            if (joints->size() != vertexCount || weights->size() != vertexCount) {
                throw FormatError(what + " has joints or weights of another length");
            }
            skin.vertices.resize(vertexCount);
            weighted.resize(vertexCount, VertexWeights{});
            addInfluences(*joints, *weights, set * 4, skin, weighted);
        }
        storeWeights(weighted, skin);
        return skin;
    } catch (const FormatError& error) {
        warnings.push_back(std::string(error.what()) + "; its skin is left out");
        return std::nullopt;
    }
}

std::vector<GeometrySkin> readGltfSkins(const tinygltf::Model& model, GltfAccessors& accessors,
                                        const std::vector<int>& sceneIndexOfFileNode,
                                        std::vector<std::string>& warnings) {
    std::vector<GeometrySkin> skins;
    for (std::size_t index = 0; index < model.skins.size(); ++index) {
        const std::string label = skinLabel(model.skins[index], index);
        try {
            skins.push_back(readSkin(model.skins[index], accessors, sceneIndexOfFileNode, label));
        } catch (const FormatError& error) {
            warnings.push_back(label + " is left out: " + error.what());
            skins.push_back(GeometrySkin{model.skins[index].name, {}, {}, {}});
        }
    }
    return skins;
}

void bindSkins(GeometryDesc& geometry) {
    for (GeometryNode& node : geometry.nodes) {
        if (node.skin < 0) {
            continue;
        }
        std::string fault;
        if (static_cast<std::size_t>(node.skin) >= geometry.skins.size()) {
            fault = "names skin " + std::to_string(node.skin) + ", which does not exist";
        } else if (node.mesh < 0) {
            fault = "has a skin but no mesh";
        } else if (geometry.skins[static_cast<std::size_t>(node.skin)].joints.empty()) {
            fault.clear();
            node.skin = -1;
            continue;
        } else {
            fault = skinMismatch(geometry.meshes[static_cast<std::size_t>(node.mesh)],
                                 geometry.skins[static_cast<std::size_t>(node.skin)]);
        }
        if (!fault.empty()) {
            geometry.warnings.push_back("node " + quotedExcerpt(node.name) + " " + fault +
                                        "; it is drawn unskinned");
            node.skin = -1;
            continue;
        }
        addJointBoxes(geometry, geometry.meshes[static_cast<std::size_t>(node.mesh)],
                      geometry.skins[static_cast<std::size_t>(node.skin)]);
    }
}

namespace {

void addInfluences(const std::vector<glm::vec4>& joints, const std::vector<glm::vec4>& weights,
                   int firstSlot, PrimitiveSkin& skin, std::vector<VertexWeights>& weighted) {
    for (std::size_t vertex = 0; vertex < joints.size(); ++vertex) {
        for (int component = 0; component < 4; ++component) {
            const float joint = joints[vertex][component];
            const float weight = weights[vertex][component];
            if (!(weight > 0.0f) || !std::isfinite(weight)) {
                continue;
            }
            if (joint < 0.0f || joint >= static_cast<float>(kMaxSkinJoints)) {
                throw FormatError("a vertex names joint " + std::to_string(joint));
            }
            const int slot = firstSlot + component;
            skin.vertices[vertex].joints[slot] = static_cast<std::uint16_t>(joint);
            weighted[vertex][static_cast<std::size_t>(slot)] = weight;
            skin.highestJoint = std::max(skin.highestJoint, static_cast<std::uint32_t>(joint));
            skin.eightInfluences = skin.eightInfluences || slot >= 4;
        }
    }
}

// Exporters round weights so that they sum to nearly one, and some do not scale them at all:
// they are scaled to sum to one, and the largest takes what rounding to 16 bits leaves, so that
// every vertex's weights sum to exactly 65535. A vertex without any weight follows its first
// joint.
void storeWeights(const std::vector<VertexWeights>& weighted, PrimitiveSkin& skin) {
    for (std::size_t vertex = 0; vertex < skin.vertices.size(); ++vertex) {
        SkinVertex& target = skin.vertices[vertex];
        float sum = 0.0f;
        for (float weight : weighted[vertex]) {
            sum += weight;
        }
        if (!(sum > 0.0f) || !std::isfinite(sum)) {
            target.weights[0] = 65535;
            continue;
        }
        int total = 0;
        int largest = 0;
        for (int slot = 0; slot < 8; ++slot) {
            const float share = weighted[vertex][static_cast<std::size_t>(slot)] / sum;
            target.weights[slot] = static_cast<std::uint16_t>(std::round(share * 65535.0f));
            total += target.weights[slot];
            largest = target.weights[slot] > target.weights[largest] ? slot : largest;
        }
        target.weights[largest] =
            static_cast<std::uint16_t>(target.weights[largest] + (65535 - total));
    }
}

std::string skinLabel(const tinygltf::Skin& skin, std::size_t index) {
    return skin.name.empty() ? "skin " + std::to_string(index) : "skin " + quotedExcerpt(skin.name);
}

GeometrySkin readSkin(const tinygltf::Skin& skin, GltfAccessors& accessors,
                      const std::vector<int>& sceneIndexOfFileNode, const std::string& label) {
    if (skin.joints.empty() || skin.joints.size() > kMaxSkinJoints) {
        throw FormatError("it has " + std::to_string(skin.joints.size()) + " joints (1 to " +
                          std::to_string(kMaxSkinJoints) + " are read)");
    }
    GeometrySkin read;
    read.name = skin.name;
    for (int joint : skin.joints) {
        if (joint < 0 || static_cast<std::size_t>(joint) >= sceneIndexOfFileNode.size()) {
            throw FormatError("it names node " + std::to_string(joint) + ", which does not exist");
        }
        if (sceneIndexOfFileNode[static_cast<std::size_t>(joint)] < 0) {
            throw FormatError("its joint node " + std::to_string(joint) + " is not in the scene");
        }
        read.joints.push_back(sceneIndexOfFileNode[static_cast<std::size_t>(joint)]);
    }
    if (skin.inverseBindMatrices < 0) {
        read.inverseBindMatrices.assign(read.joints.size(), glm::mat4(1.0f));
    } else {
        const std::string what = label + " inverseBindMatrices";
        const std::size_t matrices =
            accessors.count(skin.inverseBindMatrices, {TINYGLTF_TYPE_MAT4}, what);
        if (matrices < read.joints.size() || matrices > kMaxSkinJoints) {
            throw FormatError("it has " + std::to_string(matrices) + " inverse bind matrices for " +
                              std::to_string(read.joints.size()) + " joints");
        }
        read.inverseBindMatrices = accessors.readMatrices(skin.inverseBindMatrices, what);
        read.inverseBindMatrices.resize(read.joints.size());
    }
    for (const glm::mat4& matrix : read.inverseBindMatrices) {
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                if (!std::isfinite(matrix[column][row])) {
                    throw FormatError("an inverse bind matrix is not finite");
                }
            }
        }
    }
    read.jointBoxes.assign(read.joints.size(), BoundingBox());
    return read;
}

std::string skinMismatch(const GeometryMesh& mesh, const GeometrySkin& skin) {
    for (const GeometryPrimitive& primitive : mesh.primitives) {
        if (primitive.firstSkinVertex < 0) {
            return "has a skin but its mesh has no joints";
        }
        if (primitive.highestJoint >= skin.joints.size()) {
            return "has a mesh naming joint " + std::to_string(primitive.highestJoint) +
                   ", past the " + std::to_string(skin.joints.size()) + " of its skin";
        }
    }
    return mesh.primitives.empty() ? "has a skin but its mesh has no joints" : "";
}

// Each joint's box holds, in the joint's space, every vertex it moves, at every pose the morph
// targets allow (as for the mesh's own box).
void addJointBoxes(const GeometryDesc& geometry, const GeometryMesh& mesh, GeometrySkin& skin) {
    for (const GeometryPrimitive& primitive : mesh.primitives) {
        std::vector<BoundingBox> reach(primitive.vertexCount);
        for (std::uint32_t vertex = 0; vertex < primitive.vertexCount; ++vertex) {
            reach[vertex].add(geometry.vertices[primitive.firstVertex + vertex].position);
        }
        for (const MorphTarget& target : primitive.targets) {
            for (std::size_t entry = 0; entry < target.vertices.size(); ++entry) {
                BoundingBox& box = reach[target.vertices[entry]];
                const glm::vec3 base =
                    geometry.vertices[primitive.firstVertex + target.vertices[entry]].position;
                box.add(box.minimum + glm::min(target.positions[entry], glm::vec3(0.0f)));
                box.add(box.maximum + glm::max(target.positions[entry], glm::vec3(0.0f)));
                box.add(base);
            }
        }
        const auto first = static_cast<std::size_t>(primitive.firstSkinVertex);
        for (std::uint32_t vertex = 0; vertex < primitive.vertexCount; ++vertex) {
            const SkinVertex& influences = geometry.skinVertices[first + vertex];
            for (int slot = 0; slot < 8; ++slot) {
                if (influences.weights[slot] == 0) {
                    continue;
                }
                const std::size_t joint = influences.joints[slot];
                skin.jointBoxes[joint].add(
                    transformedBox(reach[vertex], skin.inverseBindMatrices[joint]));
            }
        }
    }
}

}  // namespace
}  // namespace engine
