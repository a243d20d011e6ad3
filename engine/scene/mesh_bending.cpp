#include "engine/scene/mesh_bending.h"

#include <glm/geometric.hpp>

namespace engine {
namespace {

glm::vec3 unitOr(const glm::vec3& vector, const glm::vec3& fallback) {
    const float length = glm::length(vector);
    return length > 0.0f ? vector / length : fallback;
}

}  // namespace

bool anyMorphWeight(const std::vector<float>& weights) {
    for (float weight : weights) {
        if (weight != 0.0f) {
            return true;
        }
    }
    return false;
}

void blendMorphTargets(const BendableMesh& mesh, const std::vector<float>& weights,
                       std::vector<GeometryVertex>& vertices) {
    vertices = mesh.vertices;
    for (const BendableMesh::Primitive& primitive : mesh.primitives) {
        for (std::size_t index = 0; index < primitive.targets.size() && index < weights.size();
             ++index) {
            const float weight = weights[index];
            if (weight == 0.0f) {
                continue;
            }
            const MorphTarget& target = primitive.targets[index];
            for (std::size_t entry = 0; entry < target.vertices.size(); ++entry) {
                GeometryVertex& vertex = vertices[primitive.firstVertex + target.vertices[entry]];
                vertex.position += weight * target.positions[entry];
                vertex.normal += weight * target.normals[entry];
                vertex.tangent += glm::vec4(weight * target.tangents[entry], 0.0f);
            }
        }
    }
    for (GeometryVertex& vertex : vertices) {
        vertex.normal = unitOr(vertex.normal, glm::vec3(0.0f, 0.0f, 1.0f));
        vertex.tangent = glm::vec4(unitOr(glm::vec3(vertex.tangent), glm::vec3(1.0f, 0.0f, 0.0f)),
                                   vertex.tangent.w);
    }
}

void skinVertices(const BendableMesh& mesh, const std::vector<glm::vec4>& jointRows,
                  std::vector<GeometryVertex>& vertices) {
    const std::size_t joints = jointRows.size() / 3;
    for (std::size_t index = 0; index < vertices.size() && index < mesh.skinVertices.size();
         ++index) {
        const SkinVertex& influences = mesh.skinVertices[index];
        glm::vec4 rows[3] = {glm::vec4(0.0f), glm::vec4(0.0f), glm::vec4(0.0f)};
        for (int slot = 0; slot < 8; ++slot) {
            const std::size_t joint = influences.joints[slot];
            if (influences.weights[slot] == 0 || joint >= joints) {
                continue;
            }
            const float weight = static_cast<float>(influences.weights[slot]) / 65535.0f;
            for (std::size_t row = 0; row < 3; ++row) {
                rows[row] += weight * jointRows[joint * 3 + row];
            }
        }
        GeometryVertex& vertex = vertices[index];
        const glm::vec4 position(vertex.position, 1.0f);
        vertex.position = glm::vec3(glm::dot(rows[0], position), glm::dot(rows[1], position),
                                    glm::dot(rows[2], position));
        const auto turned = [&](const glm::vec3& direction) {
            return glm::vec3(glm::dot(glm::vec3(rows[0]), direction),
                             glm::dot(glm::vec3(rows[1]), direction),
                             glm::dot(glm::vec3(rows[2]), direction));
        };
        vertex.normal = unitOr(turned(vertex.normal), vertex.normal);
        vertex.tangent = glm::vec4(
            unitOr(turned(glm::vec3(vertex.tangent)), glm::vec3(vertex.tangent)), vertex.tangent.w);
    }
}

}  // namespace engine
